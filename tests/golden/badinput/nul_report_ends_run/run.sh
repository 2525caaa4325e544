# A catalogue may make the NUL report an error or fatal. Reported while the
# bulk path copies plain lines, it then ends the run there: every line
# copied before the one with the NUL is in the output file all the same.
printf '187 F NUL byte: stop\n' > stop_msgs.txt
python3 -c "
import sys
for i in range(300): print('line%d;' % i)
sys.stdout.buffer.write(b'bad\0line\n')
print('never;')" > in.c
"$CPP" --edf=stop_msgs.txt in.c out.i
echo "status $?"
grep -c '^line' out.i
tail -n 1 out.i
# As an error past the error limit it ends the run the same way, here with
# the text going to standard output.
printf '187 E NUL byte\n' > error_msgs.txt
"$CPP" --edf=error_msgs.txt --emax=0 in.c 2>/dev/null | grep -c '^line'
