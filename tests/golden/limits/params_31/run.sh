# A macro of 31 parameters called with 31 arguments.
python3 -c "
n = 31
ps = ','.join('p%d' % i for i in range(n))
print('#define F(%s) p0 p15 p30' % ps)
print('F(%s)' % ','.join('a%d' % i for i in range(n)))
print('after')" > in.c
"$CPP" in.c
