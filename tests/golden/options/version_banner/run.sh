# --ver and --version, in either case, print the banner and end the run at
# once: the input file is never opened. The build date is checked for its
# form, then masked.
for opt in --ver --VER --version --Version; do
  "$CPP" -DX "$opt" missing.c > banner
  echo "status $?"
  crlf_to_lf_files banner
  sed -n 6p banner | grep -qE '^Build date:	[A-Z][a-z]{2} [ 123][0-9] [0-9]{4}$' || echo "bad date line"
  sed '6s/	.*/	DATE/' banner
done
