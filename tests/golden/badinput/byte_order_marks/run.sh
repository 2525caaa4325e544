# A UTF-8 byte-order mark, as Windows editors write one, at the start of the
# main file and of an include file is no text of them: the output is the
# same as without the marks, line numbers included. Only the start of a file
# is looked at: a mark anywhere else is text like any other bytes.
bom=$'\xef\xbb\xbf'
printf '%sint main_file;\n#include "h.h"\nafter;\n' "$bom" > marked.c
printf '%s#define H 1\nH;\n' "$bom" > h.h
printf 'int main_file;\n#include "plain.h"\nafter;\n' > plain.c
printf '#define H 1\nH;\n' > plain.h
"$CPP" marked.c > marked.i
echo "status $?"
"$CPP" -Fmarked.c plain.c | sed 's/plain\.h/h.h/' | cmp - marked.i && echo "same as without marks"
cat marked.i
printf '%s' "$bom" > only_mark.c
"$CPP" only_mark.c
printf 'x %s\n' "$bom" | "$CPP" - | crlf_to_lf | od -An -c
# Only one mark is skipped, and only a whole one.
printf '%s%sa\n' "$bom" "$bom" > twice.c
printf '\xef\xbba\n' > part.c
for f in twice.c part.c; do "$CPP" $f | crlf_to_lf | tail -n 1 | od -An -c; done
