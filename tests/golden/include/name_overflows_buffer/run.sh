# A name longer than the collection buffer draws 156 once, is cut, and is then
# looked for (and not found) under its first 259 characters.
{ printf '#include "'; printf 'n%.0s' $(seq 9000); printf '"\nafter;\n'; } > main.c
"$CPP" main.c > /dev/null 2> err
echo "status $?"
sed -n -E 's/.*\(([0-9]+)\) .*/\1/p' err
sed -n 's/.*include file \(n*\).*/\1/p' err | tr -d '\n' | wc -c
