# Include files read a block (64 KiB) at a time straight from the system:
# a regular file ends where a read comes back short, so files one byte
# either side of one and two blocks, and exactly that long, must be read
# whole, with the line that straddles a block's end in one piece; one of
# them through a symbolic link, which the directory listing does not show
# as a regular file. Each header: numbered lines, then its end line padded
# to the size.
header() {
  perl -e '($n, $size) = @ARGV; $end = "end_$n;\n"; $t = ""; $i = 0;
    $t .= sprintf("int v_%s_%05d;\n", $n, $i++) while length($t) + 40 < $size - length($end);
    print $t, " " x ($size - length($t) - length($end)), $end' "$1" "$2" > "$1.h"
}
for size in 100 65535 65536 65537 131072 131073; do header "b$size" "$size"; done
ln -s b65537.h link.h
for name in b100 b65535 b65536 b65537 b131072 b131073 link; do
  printf '#include "%s.h"\n' "$name"
done > main.c
"$CPP" main.c > o.txt 2> e.txt
echo "status $?"
cat e.txt
# Each header's lines as counted, whole; its end line; and any line broken.
text < o.txt | sed -n 's/^int v_\(b[0-9]*\)_[0-9]\{5\};$/\1/p' | uniq -c
text < o.txt | grep -v '^int v_' | sed 's/  */ /g'
text < o.txt | grep -v -E '^(int v_b[0-9]+_[0-9]{5};|end_b[0-9]+;)$' | sed 's/^/broken: /'
