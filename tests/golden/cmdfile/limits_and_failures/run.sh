# A command file that cannot be opened is fatal (141); an empty one gives
# no arguments, so the input is what is left of it. A line of 8191
# characters draws 337 and is used as it stands; a word of more than 255
# characters draws 917 and is cut (-F and 253 n's: a line marker of 259).
printf 'A;\n' > main.c
"$CPP" @nofile
echo "status $?"
: > empty
"$CPP" @empty
echo "status $?"
printf -- '-DA=1%8200s\n' main.c > cmds
"$CPP" @cmds
echo "status $?"
printf -- '-F%s main.c\n' "$(printf 'n%.0s' {1..300})" > cmds
"$CPP" @cmds | crlf_to_lf | awk 'NR == 2 { print length($0) }'
echo "status ${PIPESTATUS[0]}"
