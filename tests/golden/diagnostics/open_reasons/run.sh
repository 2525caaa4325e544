# A file that cannot be opened is reported with the system's reason, the one
# of the call that failed: the input, the output, the command file, include
# files, the dependency file, the diagnostics file, the catalogue and the
# report pages, in all three catalogues. A directory where a file is wanted
# is "Is a directory" (the C library opens one for reading without a word).
mkdir dir
printf 'a;\n' > in.c
printf '#include "dir"\nb;\n' > inc.c
printf '#include "deep.c"\n' > deep.c
# Only the lines of the messages, without the source line shown.
show() { "$CPP" "$@" 2>&1 > /dev/null | crlf_to_lf | grep -v '^ *[0-9]*:	\|^[a-z.]*:$' | sed 's/^[ \t]*\^ //'; echo "status ${PIPESTATUS[0]}"; }
for args in "none.c" "dir" "in.c none/out.i" "in.c dir" "@none.txt" "@dir" "inc.c" \
    "-Lnone/deps.txt in.c" "-Edir in.c" "--edf=dir in.c" "--udf=none/r.html in.c"; do
  echo "== cpp $args"
  show $args
done
# Past 200 open files the include that would open one more says so.
echo "== an include nested too deeply"
show deep.c | uniq
# A template's %m shows the reason too, not one left over from an earlier
# call.
echo "== %m in a template"
ZQT_ERR_FORMAT='%n: %m' show -E1 dir
# The catalogues of every language end with the reason.
for lang in de fr en; do
  cp "$(dirname "$CPP_BINARY")/../dat/${lang}_msgs.txt" .
  echo "== $lang"
  show "--edf=${lang}_msgs.txt" dir
  show "--edf=${lang}_msgs.txt" -Lnone/d.d -Edir in.c
done
