# Text copied a stretch at a time and every place where that copy hands over
# to reading one character at a time, first as is, then with comments kept
# (which shows where each comment is read relative to the tokens around it).
"$CPP" in.c && "$CPP" -C in.c
