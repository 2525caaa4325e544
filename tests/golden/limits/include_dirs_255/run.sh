# 255 include directories are searched, the last one included; a 256th is
# refused with message 147 and the run goes on.
mkdir -p d255 && echo 'in_d255' > d255/h.h
printf '#include <h.h>\n' > in.c
args=()
for i in $(seq 1 255); do args+=("-Id$i"); done
"$CPP" "${args[@]}" in.c | crlf_to_lf | grep -v "^#" | grep .
echo "status ${PIPESTATUS[0]}"
"$CPP" "${args[@]}" -Iextra in.c | crlf_to_lf | grep -v "^#" | grep .
echo "status ${PIPESTATUS[0]}"
