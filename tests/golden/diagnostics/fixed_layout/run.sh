# The fixed layout: a report without a position, the file name whenever it
# changes, each source line once, the caret under the last character read
# (tabs to the next multiple of 8) before the text or after it when the text
# is shorter, positions under macro text taken from the file, and the last
# line without its line end. Later -E options win.
"$CPP" -E1 -E0 -Q --emax=10 main.c > /dev/null
echo "status $?"
# A line longer than the line buffer is shown a buffer at a time, and the
# caret line still starts a line of its own.
{ printf '#define F(a) a\nF(1,2)'; printf '%8300s\n' y; } > long.c
"$CPP" long.c 2>&1 > /dev/null | cut -c1-20
