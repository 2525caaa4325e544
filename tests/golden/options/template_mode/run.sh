# -E1 switches to the templates, -E0 back to the fixed layout; the last wins.
printf 'a;\n#error boom\n' > main.c
export ZQT_ERR_FORMAT='E[%n]%l'
"$CPP" -E1 main.c 2>&1 >/dev/null
echo "status $?"
"$CPP" -E1 -E0 main.c 2>&1 >/dev/null | grep -c 'E\['
exit 0
