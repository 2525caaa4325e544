# Lines of every kind the bulk copy meets (plain, literal, comment, splice,
# CR LF, macro, indented, empty, directive) laid over the edges of the 64 KiB
# blocks a file is read in, at eight different offsets so that each kind in
# turn straddles an edge. The outputs of all eight runs are summed up.
make_input() {
  printf '#define M 7\n/*%*s*/\n' "$1" ''
  i=0
  while [ $i -lt 6000 ]; do
    case $((i % 9)) in
      0) printf 'a%d = b%d + %d;\n' $i $i $i ;;
      1) printf 's%d = "str/%d?";\n' $i $i ;;
      2) printf 'c%d = d%d /* note %d */ + e%d;\n' $i $i $i $i ;;
      3) printf 'f%d = g%d\\\nh%d;\n' $i $i $i ;;
      4) printf 'crlf%d = %d;\r\n' $i $i ;;
      5) printf '   indented%d = M;\n' $i ;;
      6) printf '\n' ;;
      7) printf '#line %d\n' $((i + 100)) ;;
      8) printf 'tabs%d\t=\t%d ;  \n' $i $i ;;
    esac
    i=$((i + 1))
  done
}
for pad in 0 3 7 11 13 17 19 23; do
  make_input $pad > in.c
  "$CPP" in.c > out.$pad || exit 1
done
crlf_to_lf_files out.*
cat out.* | wc -c
cat out.* | cksum
tail -n 4 out.23
