# A 32nd parameter is refused; the definition and the rest of the file go on.
python3 -c "
n = 32
ps = ','.join('p%d' % i for i in range(n))
print('#define F(%s) p0 p30' % ps)
print('F(%s)' % ','.join('a%d' % i for i in range(31)))
print('after')" > in.c
"$CPP" in.c
