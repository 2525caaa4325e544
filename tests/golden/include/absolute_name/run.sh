# An absolute name is tried as it stands, for either form.
printf '#include "%s/inc/abs.h"\n#include <%s/inc/abs.h>\n' "$PWD" "$PWD" > main.c
"$CPP" -Iinc main.c | sed "s|$PWD|ROOT|g"
