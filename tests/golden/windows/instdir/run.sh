# Where the registry names the installation folder (the string "instdir" of
# the product key's PL0 subkey), its dat folder holds the catalogues, before
# the folder the program lies in. A REG_EXPAND_SZ value has its %NAME%
# references expanded; a '\' at its end is not doubled; a folder without
# catalogues leaves the messages without texts.
version=$("$CPP" --ver | crlf_to_lf | sed -n 's/^Version:\t//p')
key="HKLM\\Software\\MORVANE Software\\QUEV\\pro\\$version\\PL0"
reg() { $CPP_EMULATOR reg "$@" > /dev/null 2>&1; }
reg delete 'HKLM\Software\MORVANE Software' /f
trap "reg delete 'HKLM\\Software\\MORVANE Software' /f" EXIT
mkdir -p inst/dat
printf '107 E installed: #%%s\n' > inst/dat/en_msgs.txt
printf '#foo\n' > in.c
# This folder as Windows names it: wine's drive Z: is the root.
here="Z:${PWD//\//\\}"
export CASE_ROOT=$here
show() {
  echo "$1:"
  "$CPP" in.c 2>&1 > /dev/null | crlf_to_lf | sed -n 's/^[^(]*\((107)\)/\1/p'
}
show "no value"
reg add "$key" /v instdir /t REG_SZ /d "$here\\inst" /f
show "REG_SZ"
reg add "$key" /v instdir /t REG_SZ /d "$here\\inst\\" /f
show "REG_SZ ending in a backslash"
reg add "$key" /v instdir /t REG_EXPAND_SZ /d '%CASE_ROOT%\inst' /f
show "REG_EXPAND_SZ"
reg add "$key" /v instdir /t REG_SZ /d "$here\\empty" /f
show "no catalogue there"
