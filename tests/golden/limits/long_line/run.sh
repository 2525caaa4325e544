# Lines much longer than the 8192-unit line buffer are read in pieces and
# copied unchanged, with the line counting intact afterwards.
python3 -c "
print('ab ' * 10000 + 'end')
print('__LINE__ ' + 'cd;' * 3000)
print('__LINE__')" > in.c
"$CPP" in.c > out.c
status=$?
python3 -c "
import sys
lines = open('out.c').read().split('\n')
src = open('in.c').read().split('\n')
print(lines[2] == src[0], lines[3] == '2 ' + 'cd;' * 3000, lines[4])"
exit $status
