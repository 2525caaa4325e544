# The 1000th nested expansion (a chain of 1000 macros) is refused; the
# pending text is dropped and reading goes on in the file.
python3 -c "
n = 999
for i in range(n): print('#define M%d M%d' % (i, i + 1))
print('#define M%d end' % n)
print('x M0 y')
print('after')" > in.c
"$CPP" in.c > out.c
status=$?
tail -n 3 out.c
exit $status
