# 31 nested conditionals are the most the stack holds: all accepted.
python3 -c "
print('before')
for i in range(31): print('#if 1')
print('inside')
for i in range(31): print('#endif')
print('after')" > in.c
"$CPP" in.c
