# A replacement text of 8191 units fits the save buffer; a longer one is
# cut with message 156, and the macro still expands to what was kept.
python3 -c "
print('#define A %s' % ('a ' * 4095 + 'a'))
print('#define B %s' % ('b ' * 4096 + 'b'))
print('A')
print('B')
print('after')" > in.c
"$CPP" in.c > out.c
status=$?
crlf_to_lf_files out.c
awk '{ print length($0) }' out.c
exit $status
