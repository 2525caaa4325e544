# -E<file> appends the diagnostics to that file (a later -E<file> takes
# over from an earlier one); a single digit is the layout, not a file name,
# and an empty -E does nothing. A file that cannot be opened is an error
# (201), and the diagnostics stay on standard error.
printf 'a;\n#error first\n' > main.c
echo 'earlier line' > errs.txt
"$CPP" -Eerrs.txt -Q main.c > /dev/null
echo "status $?"
"$CPP" -E12 -E -Ea.txt -Eb.txt -Q main.c > /dev/null
echo "status $?"
"$CPP" -E/nonexistent-dir/errs.txt -Q main.c > /dev/null
echo "status $?"
