# Names and lines at their limits: identifier significance 31 to 255 (-N),
# include names of 259 characters, 255 include directories (147), line
# numbers that wrap at 32 bits, lines far longer than the line buffer.
piece() {
  echo "== $1"
  ( "$2" ) > o.txt 2> e.txt
  echo "status $?"
  cat o.txt
  sed -n -E '/^ *[0-9]+:\t/d; s/^[^(]*\(([0-9]+)\) .*/message \1/p' e.txt
}

identifier_significance() {
# Identifiers are significant to -N characters, held between 31 and 255:
# names that agree that far are one macro, names that differ within it are
# two.
for n in 10 31 32 255 300; do
  python3 -c "
import sys
n = $n
for width in (30, 31, 32, 254, 255, 256):
    print('#define %s same%d' % ('q' * width + 'a', width))
    print('%s' % ('q' * width + 'b'))" > in$n.c
  echo "-N$n:"
  "$CPP" -N$n in$n.c 2>/dev/null | crlf_to_lf | grep -v '^#' | grep . | cut -c1-12 | tr '\n' ' '
  echo "status ${PIPESTATUS[0]}"
done
}
piece identifier_significance identifier_significance

include_name_259() {
# An include name of 259 characters opens; a longer one is cut to 259
# characters (here dropping the extra "x"): never a buffer overrun.
dir=$(printf 'd%.0s' $(seq 1 200))
mkdir -p "$dir"
name="$dir/$(printf 'h%.0s' $(seq 1 56)).h"
echo 'found' > "$name"
printf '#include "%s"\n' "$name" > ok.c
echo "${#name}"
"$CPP" ok.c | crlf_to_lf | grep -v "^#" | grep .
echo "status ${PIPESTATUS[0]}"
printf 'before\n#include "%s"\n' "${name}x" > long.c
"$CPP" long.c | crlf_to_lf | grep -v "^#" | grep .
echo "status ${PIPESTATUS[0]}"
}
piece include_name_259 include_name_259

include_dirs_255() {
# 255 include directories are searched, the last one included; a 256th is
# refused with message 147 and the run goes on.
mkdir -p d255 && echo 'in_d255' > d255/h.h
printf '#include <h.h>\n' > in.c
args=()
for i in $(seq 1 255); do args+=("-Id$i"); done
"$CPP" "${args[@]}" in.c | crlf_to_lf | grep -v "^#" | grep .
echo "status ${PIPESTATUS[0]}"
"$CPP" "${args[@]}" -Iextra in.c | crlf_to_lf | grep -v "^#" | grep .
echo "status ${PIPESTATUS[0]}"
}
piece include_dirs_255 include_dirs_255

line_number_wraps() {
# Line numbers set by #line past 32 bits wrap instead of overflowing.
printf '#line 2147483648\nx __LINE__\n#line 4294967295\ny __LINE__\n# 2147483647\nz __LINE__\nafter __LINE__\n#line 99999999999\nbig __LINE__\n' > in.c
"$CPP" in.c
}
piece line_number_wraps line_number_wraps

long_line() {
# Lines much longer than the 8192-unit line buffer are read in pieces and
# copied unchanged, with the line counting intact afterwards.
python3 -c "
print('ab ' * 10000 + 'end')
print('__LINE__ ' + 'cd;' * 3000)
print('__LINE__')" > in.c
"$CPP" in.c > out.c
status=$?
python3 -c "
import sys
lines = open('out.c').read().split('\n')
src = open('in.c').read().split('\n')
print(lines[2] == src[0], lines[3] == '2 ' + 'cd;' * 3000, lines[4])"
exit $status
}
piece long_line long_line
