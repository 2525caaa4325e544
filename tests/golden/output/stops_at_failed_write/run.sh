# Output that cannot be written ends the run at the first failed write: the
# directive after the long line is never reached, so an endless expansion
# cannot run on for nothing.
python3 -c "print('x ' * 4000)" > in.c
printf '#error never reached\n' >> in.c
"$CPP" in.c /dev/full
