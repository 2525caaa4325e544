# --help, in either case, prints the usage summary on standard output and
# ends the run with status 0 before any file is opened or created; -h is no
# option of this program (message 168).
"$CPP" --help missing.c out.i > help.txt
echo "status $?"
"$CPP" --HELP | cmp - help.txt && echo "same summary"
[ -e out.i ] && echo "out.i created"
# One line per option, each one starting with its option.
grep -cE '^  -' help.txt
cat help.txt
"$CPP" -h in.c 2>&1 >/dev/null | head -1
