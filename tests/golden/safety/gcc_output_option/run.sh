# The gcc habit "cpp -o victim.i victim.c": -o is no option here (168), so
# victim.i reads as the input and victim.c as the output. The input is opened
# first: when it is missing (141), victim.c is left as it was. When an
# earlier run left a victim.i, the unknown option stops the run before the
# output file is created (189): victim.c is still intact.
printf 'int victim;\n' > victim.c
"$CPP" -o victim.i victim.c
echo "status $?"
[ -e victim.i ] && echo "victim.i created"
printf 'int earlier;\n' > victim.i
"$CPP" -o victim.i victim.c
echo "status $?"
# Written to standard output, nothing is at risk: the run goes on.
"$CPP" -o victim.i
echo "status $?"
