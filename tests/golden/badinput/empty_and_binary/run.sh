# Empty input, and input holding every byte value 0 to 255 (NUL bytes
# included): the run ends with a defined status, every line reaches the
# output (each NUL read as a space, so nothing around it is lost) and the
# NUL bytes are reported once (message 187, a warning).
: > empty.c
"$CPP" empty.c | crlf_to_lf | od -c | head -n 3
echo "status ${PIPESTATUS[0]}"
python3 -c "
import sys
data = bytes(range(256)) + b'\n' + bytes(range(255, -1, -1)) + b'\nafter\n'
sys.stdout.buffer.write(data)" > bin.c
"$CPP" bin.c > out.c 2> err.txt
echo "status $?"
crlf_to_lf_files out.c
od -c out.c
sed -n -E '/^ *[0-9]+:\t/d; s/^[^(]*\(([0-9]+)\) .*/\1/p' err.txt | sort -u | tr '\n' ' '
echo
