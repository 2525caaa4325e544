# 999 nested expansions, the most allowed: a chain of 999 macros each naming
# the next expands completely.
python3 -c "
n = 998
for i in range(n): print('#define M%d M%d' % (i, i + 1))
print('#define M%d end' % n)
print('x M0 y')
print('after')" > in.c
"$CPP" in.c > out.c
status=$?
tail -n 3 out.c
exit $status
