# A caret far out on a long line would make a diagnostic line of thousands
# of characters: it is cut to 2047 characters and its newline.
python3 -c "
print('#if 1' + ' ' * 3000 + '@')
print('yes')
print('#endif')" > in.c
"$CPP" in.c > out.c 2> err.txt
status=$?
crlf_to_lf_files out.c err.txt
grep -v '^#' out.c | grep .
awk '{ print length($0) }' err.txt
grep -c '(124)' err.txt
exit $status
