# Empty input, and input holding every byte value 0 to 255 (NUL bytes
# included): the run ends with a defined status, every line reaches the
# output (each NUL read as a space, so nothing around it is lost) and the
# NUL bytes are reported once (message 187, a warning).
: > empty.c
"$CPP" empty.c | crlf_to_lf | od -c | head -n 3
echo "status ${PIPESTATUS[0]}"
printf "$(printf '\\%03o' {0..255})\n$(printf '\\%03o' {255..0})\nafter\n" > bin.c
"$CPP" bin.c > out.c 2> err.txt
echo "status $?"
crlf_to_lf_files out.c
od -c out.c
msgs < err.txt | sort -u | tr '\n' ' '
echo
