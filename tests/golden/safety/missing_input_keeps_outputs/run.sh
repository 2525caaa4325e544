# An input that cannot be opened (missing, a directory) ends the run before
# any file is created or truncated: the output file, the dependency file and
# the report pages are left exactly as they were, and none is created.
printf 'precious\n' > precious.i
printf 'deps\n' > precious.d
printf 'report\n' > report.html
mkdir dir
for input in missing.c dir; do
  "$CPP" -LM-precious.d --udf=report.html "$input" precious.i
  echo "status $?"
done
"$CPP" -Lnew.d --udf=new.html missing.c new.i
echo "status $?"
for f in new.i new.d new.html toc_new.html main_new.html toc_report.html main_report.html; do
  [ -e "$f" ] && echo "$f created"
done
