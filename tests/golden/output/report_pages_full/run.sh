# The pages of the HTML report are written like any other file: one that
# cannot take its text fails the run with the page's name and the system's
# reason (186), whether it is the frame-set page, the main page or the
# contents, and whether the run succeeded or not.
printf '#define N 1\nN\n' > in.c
"$CPP" --udf=/dev/full in.c
echo "status $?"
ln -s /dev/full main_r.html
"$CPP" --udf=r.html in.c
echo "status $?"
rm -f r.html toc_r.html main_r.html
ln -s /dev/full toc_r.html
"$CPP" --udf=r.html in.c > /dev/null
echo "status $?"
rm -f r.html toc_r.html main_r.html
ln -s /dev/full main_r.html
printf '#error stop\n' >> in.c
"$CPP" --udf=r.html in.c > /dev/null 2> err.txt
echo "status $?"
sed -n -E 's/^[^(]*\(([0-9]+)\) .*/message \1/p' err.txt
