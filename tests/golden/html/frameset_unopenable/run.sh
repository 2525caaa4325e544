# No frame-set page, no report: only the warning, and no other file.
"$CPP" --udf=nodir/r.html in.c out.i
status=$?
for f in nodir toc_nodir main_nodir; do
  if [ -e "$f" ]; then echo "unexpected $f"; fi
done
exit $status
