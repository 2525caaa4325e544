# The make rule needs an extension on both the dependency file and the main
# input; without one the file holds the plain list.
cp prog.c prog
"$CPP" -LM-deps prog.c > /dev/null
"$CPP" -LM-prog.d prog > /dev/null
