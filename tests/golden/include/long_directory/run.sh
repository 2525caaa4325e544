# A directory that with the name passes 8190 characters is passed over with
# 146; the search goes on with the next one.
printf '#include <a.h>\n' > main.c
long=$(printf 'd%.0s' $(seq 8188))
"$CPP" "-I$long" -I. main.c
