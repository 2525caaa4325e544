# Macro limits, each at its value and one past it: 31 parameters and
# arguments (148, 151), the 16384-unit parameter pool (149), the 8191-unit
# expansion text (153), the 8192-unit save buffer (156) and expansion nesting
# 999 deep and 1000 deep (115; the pending text is dropped).
piece() {
  echo "== $1"
  ( "$2" ) > o.txt 2> e.txt
  echo "status $?"
  cat o.txt
  sed -n -E '/^ *[0-9]+:\t/d; s/^[^(]*\(([0-9]+)\) .*/message \1/p' e.txt
}

params_31() {
# A macro of 31 parameters called with 31 arguments.
python3 -c "
n = 31
ps = ','.join('p%d' % i for i in range(n))
print('#define F(%s) p0 p15 p30' % ps)
print('F(%s)' % ','.join('a%d' % i for i in range(n)))
print('after')" > in.c
"$CPP" in.c
}
piece params_31 params_31

params_32() {
# A 32nd parameter is refused; the definition and the rest of the file go on.
python3 -c "
n = 32
ps = ','.join('p%d' % i for i in range(n))
print('#define F(%s) p0 p30' % ps)
print('F(%s)' % ','.join('a%d' % i for i in range(31)))
print('after')" > in.c
"$CPP" in.c
}
piece params_32 params_32

args_32() {
# A 32nd argument is refused and never stored past the argument list.
python3 -c "
n = 31
ps = ','.join('p%d' % i for i in range(n))
print('#define F(%s) p0 p30' % ps)
print('F(%s)' % ','.join('a%d' % i for i in range(40)))
print('after')" > in.c
"$CPP" in.c
}
piece args_32 args_32

param_pool_16384() {
# Argument texts share the 16384-unit parameter pool: a 16383-unit argument
# fits with its terminator, a longer one is refused and the call still ends
# at its closing parenthesis.
python3 -c "
print('#define F(x) ok')
print('F(%s)' % ('a' * 16383))
print('F(%s)' % ('b' * 16384))
print('after')" > in.c
"$CPP" in.c
}
piece param_pool_16384 param_pool_16384

expansion_text_8191() {
# An expansion text of exactly 8191 units fits. Past it, message 153: a unit
# that does not fit is dropped, and an argument that would not fit is dropped
# whole after its opening quote. The run goes on.
python3 -c "
print('#define S(x) #x')
print('S(%s)' % ('1' * 8189))
print('S(%s)' % ('2' * 8190))
print('S(%s)' % ('3' * 8191))
print('after')" > in.c
"$CPP" in.c > out.c
status=$?
python3 -c "
for line in open('out.c').read().split('\n')[3:]:
    print(len(line), line[:2], line[-2:])"
exit $status
}
piece expansion_text_8191 expansion_text_8191

save_buffer_8192() {
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
}
piece save_buffer_8192 save_buffer_8192

depth_999() {
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
}
piece depth_999 depth_999

depth_1000() {
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
}
piece depth_1000 depth_1000
