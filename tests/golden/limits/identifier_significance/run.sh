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
