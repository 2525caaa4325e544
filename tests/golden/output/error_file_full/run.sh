# Warnings sent with -E<file> to a file that cannot take them: the run that
# would have succeeded fails, and says so on standard error.
printf '#warning hi\n#if 1\n#endif x\nafter\n' > in.c
"$CPP" -E/dev/full in.c
