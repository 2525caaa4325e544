# The catalogue language is the DWORD "language" of the product key under
# HKEY_LOCAL_MACHINE: 7 German, 12 French, any other number English. A
# value stored as a string is no number and counts as not set.
version=$("$CPP" --ver | crlf_to_lf | sed -n 's/^Version:\t//p')
key="HKLM\\Software\\MORVANE Software\\QUEV\\pro\\$version"
reg() { $CPP_EMULATOR reg "$@" > /dev/null 2>&1; }
reg delete 'HKLM\Software\MORVANE Software' /f
trap "reg delete 'HKLM\\Software\\MORVANE Software' /f" EXIT
printf '#foo\n' > in.c
show() {
  echo "$1:"
  "$CPP" in.c 2>&1 > /dev/null | crlf_to_lf | sed -n 's/^[^(]*\((107)\)/\1/p'
}
show "no value"
reg add "$key" /v language /t REG_DWORD /d 7 /f
show "DWORD 7"
reg add "$key" /v language /t REG_DWORD /d 12 /f
show "DWORD 12"
reg add "$key" /v language /t REG_DWORD /d 16 /f
show "DWORD 16"
reg add "$key" /v language /t REG_SZ /d 7 /f
show "string 7"
