# A directive's name longer than the significant length is cut to it when
# it is shown (31 units, and 255 with -N255, where a name of 300 is cut at
# the most a name can hold); one that begins with a directive's name is no
# directive.
for opts in "" "-N255" "--std=c99"; do
  echo "== ${opts:-default}"
  "$CPP" $opts in.c 2>&1 | crlf_to_lf
  echo "status ${PIPESTATUS[0]}"
done
