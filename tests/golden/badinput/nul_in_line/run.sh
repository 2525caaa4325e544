# A NUL byte inside a line is not the end of the input: it drops the rest of
# its line only, and the lines after it are read and counted as before.
printf 'a\0b c\n#define X 1\nX after __LINE__\n' > in.c
"$CPP" in.c | crlf_to_lf | od -c
exit ${PIPESTATUS[0]}
