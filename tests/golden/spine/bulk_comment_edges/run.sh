# Comments that the bulk copy takes as blanks, and the edges where it leaves
# them to the reader: comments before, between and after tokens, a comment
# right after a name, block comments that run on over lines (line numbers
# and line synchronisation after them), a '*' and '/' split by a splice, a
# trigraph or a CR, a '/' after a backslash or a '?' inside a block comment
# (no end there), line comments continued by splices, "/*" inside a
# comment (179), a comment that becomes a space and shows so in a later
# message's line, CR LF and NUL bytes inside comments (reported once), a
# long line inside a comment, comments laid over the edges of the blocks a
# file is read in, and a comment that the input ends in (139).
show() {
  "$CPP" "$@" > o.txt 2> e.txt
  echo "== cpp $* [status $?]"
  crlf_to_lf < o.txt
  # The lines a message shows, as the reader holds them.
  grep -a -P '^ *[0-9]+:\t' e.txt | crlf_to_lf
  msgs < e.txt | sed 's/^/message /'
}
for args in in.c "-C in.c" "--std=c99 in.c" cr_nul.c "-C cr_nul.c" "--std=c99 cr_nul.c"; do
  show $args
done

# A line of 10000 units inside a comment that runs on over lines, and one
# that the input ends in.
{
  printf 'int a;\n/* long\n'
  rep x 10000
  printf '\n*/ int b = __LINE__;\n/* to the end\n * of the input\n'
} > long.c
show long.c
show -C long.c | cksum

# Comments over the edges of the 64 KiB blocks, at offsets that put each of
# their parts on an edge in turn.
make_input() {
  printf '/*%*s*/\n' "$1" ''
  i=0
  while [ $i -lt 3000 ]; do
    case $((i % 5)) in
      0) printf 'a%d = b; /* note %d */ c = d; // tail %d\n' $i $i $i ;;
      1) printf '/* one\n * two %d ** /\n */ e%d = __LINE__;\n' $i $i ;;
      2) printf '  /* lead */ f%d /**/= g; /* runs\n on */ h = __LINE__;\n' $i ;;
      3) printf '// alone %d\n\n' $i ;;
      4) printf 'x%d = y /* a ** b *//**/+ __LINE__; /**/\n' $i ;;
    esac
    i=$((i + 1))
  done
}
for pad in 0 5 9 14 21 30 41 47; do
  make_input $pad > edges.c
  "$CPP" edges.c > out.$pad 2>> errors
  echo "status $?" >> statuses
  "$CPP" --std=c99 edges.c > iso.$pad 2>> errors
  echo "status $?" >> statuses
done
crlf_to_lf_files out.* iso.*
cat out.* | wc -c
cat out.* | cksum
cat iso.* | cksum
tail -n 4 out.47
sort statuses | uniq -c
msgs < errors | sort | uniq -c
