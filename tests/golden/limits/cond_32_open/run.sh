# The 32nd open conditional ends the run; the lines before it stay written.
python3 -c "
print('before')
for i in range(32): print('#if 1')
print('inside')
for i in range(32): print('#endif')
print('after')" > in.c
"$CPP" in.c
