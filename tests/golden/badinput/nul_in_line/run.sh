# A NUL byte inside a line is read as a space: the text around it is kept,
# the lines after it are read and counted as before, and the file's first
# NUL is reported (message 187, a warning: the status stays 0).
printf 'a\0b c\n#define X 1\nX after __LINE__\n' > in.c
"$CPP" in.c | crlf_to_lf | od -c
echo "status ${PIPESTATUS[0]}"
# Once per file: more NUL bytes in the same file say nothing more, and an
# include file's first NUL is reported with its own name.
printf 'x\0y\n' > h.h
printf 'a\0b\n#include "h.h"\nc\0d\0\n' > two.c
"$CPP" -E1 two.c 2>&1 >/dev/null
# Everywhere in a line: in a literal, in a comment, in a directive, before a
# CR LF, at the end of an 8191-unit piece of a long line. The report shows the
# line as read, the caret under the first NUL's space.
printf "s = \"a\\0b\" '\\0' /*\\0*/ x;\\n#define\\0N 1\\nN\\0\\r\\nend\\n" > where.c
"$CPP" where.c 2>&1 | crlf_to_lf
python3 -c "
import sys
sys.stdout.buffer.write(b'a,' * 4095 + b'\0y\n')" > long.c
"$CPP" -E1 long.c 2>&1 | crlf_to_lf | tail -c 100
# The report comes when the line is read in, before the comments in it are:
# a comment that ends before the NUL, text right after it, still shows its
# "*/" there, when it ran on from the line before, on one line, and with
# more such comments on the line than are noted at once. A later message on
# the line shows the same line.
printf '/* a\nb*/x\0\n' > ran_on.c
printf 'a /* x */b /* y */c\0\n' > one_line.c
{
    for i in $(seq 20); do printf '/**/%s' "$i"; done
    printf '\0\n'
} > many.c
printf '#define f(a) a\nq /* x */f(1,2) y\0\n' > later.c
for f in ran_on.c one_line.c many.c later.c; do "$CPP" $f 2>&1 | crlf_to_lf; done
