# A failed run leaves the report as far as it got: the macro table and the
# main page open, the contents count 000. A page that cannot be created
# draws a level-0 warning; without the frame-set page there is no report.
# The prefixes go in front of a directory part of the name.
report() {
  (cd "$1" && shift && exec -a cpp "$CPP" -U__DATE__ -U__TIME__ "$@" ../in.c out.i)
  echo "status $?"
}
mkdir failed none toc main prefix prefix/sub prefix/toc_sub prefix/main_sub
report failed --udf=r.html -DFAIL
report none --udf=nodir/r.html
report none -W1 --udf=nodir/r.html
ls none
mkdir toc/toc_r.html main/main_r.html
report toc --udf=r.html
report main --udf=r.html
report prefix --udf=sub/r.html
name_in_reports cpp failed/main_r.html toc/main_r.html prefix/main_sub/r.html
