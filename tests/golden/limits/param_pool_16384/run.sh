# Argument texts share the 16384-unit parameter pool: a 16383-unit argument
# fits with its terminator, a longer one is refused and the call still ends
# at its closing parenthesis.
python3 -c "
print('#define F(x) ok')
print('F(%s)' % ('a' * 16383))
print('F(%s)' % ('b' * 16384))
print('after')" > in.c
"$CPP" in.c
