# -L<file> writes the list of included files to the file (a name beginning
# with M but not M- too) and the text to standard output as usual.
"$CPP" -LMdeps.txt main.c
