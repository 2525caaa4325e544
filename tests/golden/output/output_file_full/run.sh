# An output file that cannot take the text fails the run.
printf 'a\nb\n' > in.c
"$CPP" in.c /dev/full
