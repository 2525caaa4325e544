# -E<file> appends the diagnostics to that file; standard error stays empty.
printf '#error first\n' > main.c
echo 'earlier line' > errs.txt
"$CPP" -Eerrs.txt -Q main.c
echo "status $?"
head -1 errs.txt
grep -c '(168) ' errs.txt
grep -c '(103) ' errs.txt
