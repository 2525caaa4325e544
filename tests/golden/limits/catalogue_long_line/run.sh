# Catalogue lines are read in pieces of 255 characters: the first piece
# carries the message cut at its end, the rest is parsed as a line of its
# own (here malformed, reported with its piece number).
python3 -c "
print('107 E unknown thing #%s ' + 'x' * 300)
print('# a comment counts as a line')
print('163 0 extra text')" > cat.txt
printf '#foo\nafter\n' > in.c
"$CPP" --edf=cat.txt in.c 2>&1 | crlf_to_lf | awk '{ print length($0) ": " substr($0, 1, 60) }'
