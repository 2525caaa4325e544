# __DATE__ and __TIME__: the start-up moment in the C library's clock
# layout, local time, the same for every use; with SOURCE_DATE_EPOCH the
# moment it names, in UTC. A value that is not a decimal count of seconds,
# or names a year the layout cannot show, ends the run before any output.
out=$("$CPP" a.c | crlf_to_lf)
echo "$out" | sed -n 3p | grep -Eq '^"[A-Z][a-z][a-z] [ 1-3][0-9] [0-9]{4}" "[0-2][0-9]:[0-5][0-9]:[0-6][0-9]"$' || { echo "bad: $out"; exit 1; }
[ "$(echo "$out" | sed -n 3p)" = "$(echo "$out" | sed -n 4p)" ] || { echo "uses differ"; exit 1; }
day=$(LC_ALL=C date '+%b %e %Y')
echo "$out" | sed -n 3p | grep -q "^\"$day\"" || { echo "not today ($day): $out"; exit 1; }
for epoch in 1700000000 0 0000000086399 253402300799 '' -1 ' 5' 1e3 12x 253402300800 99999999999999999999; do
  echo "SOURCE_DATE_EPOCH=[$epoch]"
  SOURCE_DATE_EPOCH=$epoch "$CPP" a.c 2>&1 | crlf_to_lf | sed -n '3p; /(/p'
  echo "status ${PIPESTATUS[0]}"
done
