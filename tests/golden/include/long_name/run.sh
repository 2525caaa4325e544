# Names are cut at 259 characters: the file named by the first 259 opens.
dir=$(printf 'a%.0s' $(seq 200))/$(printf 'b%.0s' $(seq 50))   # 251 characters
mkdir -p "$dir"
echo 'cut;' > "$dir/xxxxxxx"       # 251 + 1 + 7 = 259 characters
echo 'whole;' > "$dir/xxxxxxxx"    # one more
printf '#include "%s/xxxxxxxxyyyyyyyyyyyyyyyyyyyy"\n' "$dir" > main.c
"$CPP" main.c | sed "s|$dir|DIR|g"
