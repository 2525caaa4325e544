# -L<file> writes the list of included files to the file (a name beginning
# with M but not M- too) and the text to standard output as usual; when the
# file cannot be created the list follows the text on standard output.
"$CPP" -LMdeps.txt main.c
"$CPP" -L/nonexistent-dir/deps.d main.c
