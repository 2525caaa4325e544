# #include lines are taken without a turn of the main loop when they hold
# nothing the reader must look at. The fifth of these lines begins the
# input's second 64 KiB block, where the line is read on its own before the
# block's other lines: the header it pushes must be read before the lines
# after it, and headers passed over (the second inclusion of each) must
# keep the line count. Text after the name stays on its line.
awk 'BEGIN { for (i = 0; i < 65536 - 5 * 17; i++) printf "\n" }' > main.c
for i in 00 01 02 03 04 05 06 07 08 09; do
  printf '#include "h%s.h"\n' $i >> main.c
  printf '#ifndef H%s\n#define H%s\nint h%s;\n#endif\n' $i $i $i > h$i.h
done
printf '#include "h05.h" rest\n#  include <h06.h>\n#include "h07.h"/* c */ x\nint end;\n' >> main.c
for opts in "" "-C -I." "--std=c99 -I."; do
  echo "== ${opts:-default}"
  "$CPP" $opts main.c 2>&1 | crlf_to_lf
  echo "status ${PIPESTATUS[0]}"
done
