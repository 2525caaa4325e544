# The templates the README gives for editors: "file:line:column: error:"
# and "warning:", which vim's default errorformat, Emacs' compilation mode
# and VS Code's $gcc problem matcher read. They apply with -E and a
# non-zero digit; without it (or with -E0) the fixed layout is used.
"$CPP" -E1 in.c > /dev/null
echo "status $?"
"$CPP" -E0 in.c 2>&1 > /dev/null | head -3
