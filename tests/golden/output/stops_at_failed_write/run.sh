# Output that cannot be written ends the run at the first failed write: the
# directive after the long line (longer than the output buffer) is never
# reached, so an endless expansion cannot run on for nothing.
python3 -c "print('x ' * 40000)" > in.c
printf '#error never reached\n' >> in.c
"$CPP" in.c /dev/full
