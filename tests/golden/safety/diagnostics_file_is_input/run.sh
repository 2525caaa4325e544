# The diagnostics file of -E<file> is never the input file, however its path
# is spelled: the run stops before anything is appended (181, status 1, on
# standard error), and neither the input nor the output is written. Another
# file takes the diagnostics as before.
printf 'int w;\n#warning here\n' > w.c
cp w.c orig.c
mkdir sub
ln -s w.c soft.c
ln w.c hard.c
for args in "-Ew.c w.c w.i" "-E./w.c -Q w.c w.i" "-Esub/../w.c w.c" "-Esoft.c w.c w.i" \
    "-Ehard.c w.c w.i" "-Elog.txt -Ew.c w.c w.i" "-Ew.c -E1 soft.c w.i"; do
  piece "cpp $args" "$CPP" $args
  crlf_to_lf < e.txt
  cmp -s w.c orig.c || echo "w.c changed"
  [ -e w.i ] && echo "w.i written"
done
# The file of an earlier -E, which the refused one took over from, holds
# nothing.
[ -e log.txt ] && echo "log.txt created: $(wc -c < log.txt) bytes"
piece "another file" "$CPP" -Elog.txt w.c w.i
crlf_to_lf < log.txt
cmp -s w.c orig.c || echo "w.c changed"
