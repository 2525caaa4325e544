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
