# The dialect's predefined macros: each --std= value, in either letter case,
# the last one given winning, -U and -D acting on them whatever their place,
# and a value naming no dialect refused as an unknown option (168).
for args in "" "--std=c99" "--STD=C11" "--std=c11 --std=c17" "-U__STDC_VERSION__ --std=c99" \
  "--std=c99 -D__STDC_HOSTED__=0"; do
  piece "[$args]" "$CPP" $args v.c
done | text
piece "c89" "$CPP" --std=c89 v.c | text
