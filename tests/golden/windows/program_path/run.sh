# Without "instdir" in the registry the installation is the parent of the
# program's folder when that folder is named bin, in any letter case: a copy
# of the program in inst\BIN reads inst\dat\en_msgs.txt. A copy in a folder
# of another name finds no installation (not even the dat folder beside it).
reg() { $CPP_EMULATOR reg "$@" > /dev/null 2>&1; }
reg delete 'HKLM\Software\MORVANE Software' /f
mkdir -p inst/BIN inst/dat other/tools other/dat
cp "$CPP_BINARY" inst/BIN/cpp.exe
cp "$CPP_BINARY" other/tools/cpp.exe
printf '107 E installed: #%%s\n' > inst/dat/en_msgs.txt
cp inst/dat/en_msgs.txt other/dat/
printf '#foo\n' > in.c
for program in inst/BIN/cpp.exe other/tools/cpp.exe; do
  echo "$program:"
  $CPP_EMULATOR "$program" in.c 2>&1 > /dev/null | crlf_to_lf | sed -n 's/^[^(]*\((107)\)/\1/p'
done
