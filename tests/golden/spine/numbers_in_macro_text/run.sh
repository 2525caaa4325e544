# Numbers in macro texts and arguments, in both dialects: where a number
# ends decides what is a token of its own and what is pasted or joined.
"$CPP" in.c && "$CPP" --std=c99 in.c
