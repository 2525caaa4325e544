# File arguments are taken out from among the options in their order, "-"
# naming a standard stream; the last non-empty -F names the main input in
# line markers, __FILE__ and messages. A third file ends the run at once.
"$CPP" -DDEBUG main.c -C out.c
echo "status $?"
"$CPP" - -Fpiped.c < main.c
echo "status $?"
"$CPP" -Ffirst.c main.c -fshown.c -F -
echo "status $?"
"$CPP" main.c out2.c third.c
echo "status $?"
[ -e out2.c ] || echo "no out2.c"
