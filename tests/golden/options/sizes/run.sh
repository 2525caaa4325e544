# -S fills the plain sizes of sizeof, -SP and -S* the pointer sizes: six
# plain or seven pointer sizes pass over `short long`, one more covers it;
# a short list keeps what it set (166), text left over is reported (167).
check() {  # check PLAIN POINTER OPTION...: the sizes each option leaves
  local plain=$1 pointer=$2
  shift 2
  printf '#include "sizes.h"\n#if PLAIN(%s) && POINTER(%s)\nas expected\n#else\nother sizes\n#endif\n' \
    "$plain" "$pointer" > check.c
  out=$("$CPP" "$@" check.c 2>&1 | crlf_to_lf | grep -v '^#' | grep .)
  echo "${*:-defaults}: $out"
}
all4=4,4,4,4,4,4,4
check 1,2,4,4,4,4,8 $all4
check 11,12,13,4,14,15,16 $all4 -S11,12,13,14,15,16
check 11,12,13,3,14,15,16 $all4 -S11,12,13,3,14,15,16
check 11,12,13,4,14,15,16 $all4 '-s11 , 12;13,14,15,x16'
check 1,2,3,4,4,5,6 $all4 '-S1,2,3,4,5,6;7'
check 1,2,3,4,5,6,7 $all4 -S1,2,3,4,5,6,7,8
check 4464,2,3,4,4,5,6 $all4 -S70000,2,3,4,5,6
check 7,8,9,4,10,11,12 $all4 -S1,2,3,4,5,6 -S7,8,9,10,11,12
check 1,2,4,4,4,4,8 21,22,23,24,25,26,27 -SP21,22,23,24,25,26,27
check 1,2,4,4,4,4,8 21,22,23,24,25,26,27 '-S*21,22,23,9,24,25,26,27'
check 1,2,3,4,4,5,6 $all4 -sp1,2,3,4,5,6
check 1,2,4,4,4,4,8 2,4,4,4,4,4,4 -SP2
check 1,7,4,4,4,4,8 $all4 -S1,7
check 1,2,4,4,4,4,8 $all4 -S
