# Both uses give the start-up moment in the C library's clock layout.
out=$("$CPP" a.c | crlf_to_lf)
echo "$out" | sed -n 3p | grep -Eq '^"[A-Z][a-z][a-z] [ 1-3][0-9] [0-9]{4}" "[0-2][0-9]:[0-5][0-9]:[0-6][0-9]"$' || { echo "bad: $out"; exit 1; }
[ "$(echo "$out" | sed -n 3p)" = "$(echo "$out" | sed -n 4p)" ] || { echo "uses differ"; exit 1; }
day=$(LC_ALL=C date '+%b %e %Y')
echo "$out" | sed -n 3p | grep -q "^\"$day\"" || { echo "not today ($day): $out"; exit 1; }
