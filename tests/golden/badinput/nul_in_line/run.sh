# A NUL byte inside a line is read as a space: the text around it is kept,
# the lines after it are read and counted as before, and the file's first
# NUL is reported (message 187, a warning: the status stays 0).
printf 'a\0b c\n#define X 1\nX after __LINE__\n' > in.c
"$CPP" in.c | od -c
exit ${PIPESTATUS[0]}
