# A file the run would write that is the input file itself, however its
# path is spelled (the same name, ./name, dir/../name, a symbolic or hard
# link), stops the run before anything is written (181, status 1): the
# output file, the dependency file and each page of the report.
printf 'int same;\n' > same.c
printf 'int toc;\n' > toc_same.c
mkdir sub
ln -s same.c soft.c
ln same.c hard.c
for args in "same.c same.c" "same.c ./same.c" "./same.c sub/../same.c" "soft.c same.c" \
    "same.c hard.c" "-Lsame.c same.c" "-LM-hard.c same.c -" "--udf=same.c same.c" \
    "--udf=same.c toc_same.c"; do
  echo "cpp $args:"
  "$CPP" $args
  echo "status $?"
done
cp same.c copy.c
# A copy is another file: the run goes ahead.
"$CPP" same.c copy.c
echo "status $?"
cat copy.c
