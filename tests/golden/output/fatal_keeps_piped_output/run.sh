# The same through a pipe: the lines before the fatal message arrive.
python3 -c "
for i in range(3000): print('line%d' % i)
print('#include \"missing.h\"')
print('never')" > in.c
"$CPP" in.c | grep -c '^line'
exit ${PIPESTATUS[0]}
