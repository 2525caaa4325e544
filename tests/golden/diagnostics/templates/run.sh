# The error and message templates from the environment, the warning
# template built in; every placeholder, a message template without "%s",
# and catalogue texts with conversions that fit their arguments or not.
export ZQT_ERR_FORMAT='E[%f|%l|%c|%n|%a|%%|%q|%m] %s%'
export ZQT_MSG_FORMAT='M[%l] %n'
"$CPP" -E0 -E1 --edf=cat.txt -Q main.c > /dev/null
echo "status $?"
# Without a position %f, %l and %c give nothing.
ZQT_ERR_FORMAT='[%f|%l|%c] %s' "$CPP" -E1 -Q /dev/null 2>&1 > /dev/null
# A message text holds 511 characters, a line 2046 and its newline.
printf '#error %s\n' "$(printf 'x%.0s' {1..600})" > long.c
ZQT_ERR_FORMAT='%s|%s|%s|%s|%s' "$CPP" -E1 long.c 2>&1 > /dev/null | crlf_to_lf | awk -F'|' '{ print length($0), length($1) }'
# The reason of a missing include when no directory is there to search.
printf '#include <no.h>\n' > missing.c
ZQT_ERR_FORMAT='%l %m' "$CPP" -E0 -E1 missing.c 2>&1 > /dev/null | crlf_to_lf
