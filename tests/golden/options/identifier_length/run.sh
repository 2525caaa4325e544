# -N sets how many characters of a name count, held between 31 and 255:
# names that differ only after that many characters are the same macro
# (111), and longer names are cut in the output. -D and -U cut their names
# at 255 characters.
a=$(printf 'a%.0s' {1..31}) b=$(printf 'b%.0s' {1..40}) c=$(printf 'c%.0s' {1..255})
d=$(printf 'd%.0s' {1..255})
for n in $a $b $c; do printf '#define %s1 %s1\n#define %s2 %s2\n' $n ${n:0:1} $n ${n:0:1}; done > main.c
echo "${a}1 ${b}1 ${c}1 ${d}q" >> main.c
run() {  # long words in the output shown as their first letter and length
  out=$("$CPP" "$@" main.c 2> err.txt | crlf_to_lf | grep -v '^#' | grep . |
    awk '{ for (i = 1; i <= NF; i++) if (length($i) > 9) $i = substr($i, 1, 1) "*" length($i); print }')
  local label=$*
  echo "${label//$d/d*255}: $out $(grep -o '(111)' err.txt | tr -d '\n')"
}
for opts in "" -N10 -N -Nx -N40 -N41 -N255 -N256 -N99999999999 "-N300 -n50"; do run $opts; done
run -N255 "-D${d}yz=cut"
run -N255 "-D${d}yz=cut" "-U${d}xx"
