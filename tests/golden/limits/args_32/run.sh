# A 32nd argument is refused and never stored past the argument list.
python3 -c "
n = 31
ps = ','.join('p%d' % i for i in range(n))
print('#define F(%s) p0 p30' % ps)
print('F(%s)' % ','.join('a%d' % i for i in range(40)))
print('after')" > in.c
"$CPP" in.c
