# Where the catalogue comes from: the installation (the parent of the
# program's folder when that is "bin", or ZQT_INSTDIR) in the language of
# the locale, else ZQT_ERR_FILE, else ../dat/en_msgs.txt, else the bare
# name; numbers it lacks come from the installation's English catalogue.
# On Windows the registry, not the locale or ZQT_INSTDIR, gives the language
# and the installation: the language stays English, the installation the one
# beside the program's bin folder.
export ZQT_WARN_FORMAT='%s' ZQT_MSG_FORMAT='%s'
run() {  # run LABEL [NAME=VALUE...] [OPTION...]
  local label=$1 vars=()
  shift
  while [[ $# -gt 0 && $1 == [A-Z]*=* ]]; do vars+=("$1"); shift; done
  env "${vars[@]}" ${CPP_EMULATOR:-} "${cpp:-$CPP_BINARY}" -E1 "$@" "${main:-main.c}" 2> err.txt > /dev/null
  local status=$?
  # (the shell that starts an emulator warns of a locale the system lacks)
  echo "$label: $(crlf_to_lf < err.txt | grep -v '^[^ ]*bash: warning: setlocale' | tr '\n' '|') => $status"
}
run "installed next to bin/"
run "LANG=de_DE.UTF-8" LANG=de_DE.UTF-8
run "LC_MESSAGES over LANG" LANG=de_DE LC_MESSAGES=fr_FR
run "LC_ALL over LC_MESSAGES" LC_ALL=de_DE LC_MESSAGES=fr_FR
run "empty LC_ALL passed over" LC_ALL= LC_MESSAGES=FR LANG=de
run "LANG=C" LANG=C
run "LANG=it_IT" LANG=it_IT
run "ZQT_INSTDIR=inst" ZQT_INSTDIR=inst
run "ZQT_INSTDIR=%R%" R=inst ZQT_INSTDIR=%R%
run "ZQT_INSTDIR=%UNSET%R%" R=inst ZQT_INSTDIR=%UNSET%R%
run "installed de before ZQT_ERR_FILE" LANG=de ZQT_INSTDIR=inst ZQT_ERR_FILE=env.txt
run "no installed fr: ZQT_ERR_FILE" LANG=fr ZQT_INSTDIR=inst ZQT_ERR_FILE=env.txt
run "--edf= replaces it" --edf=env.txt
run "--edf= unopenable" --edf=missing.txt
x2047=$(printf 'x%.0s' {1..2047})
run "instdir of 2047 characters" ZQT_INSTDIR=$x2047 ZQT_ERR_FILE=env.txt
run "instdir of 2048 characters" ZQT_INSTDIR=${x2047}x ZQT_ERR_FILE=env.txt
run "instdir expanded to 4099" X=${x2047:0:2040} ZQT_INSTDIR=%X%%X%${x2047:0:19} ZQT_ERR_FILE=env.txt
run "instdir expanded to 4100" X=${x2047:0:2040} ZQT_INSTDIR=%X%%X%${x2047:0:20} ZQT_ERR_FILE=env.txt
mkdir tools/BIN tools/sbin
cp "$CPP_BINARY" tools/BIN/cpp
cp "$CPP_BINARY" tools/sbin/cpp
cpp=tools/BIN/cpp run "program in tools/BIN"
cpp=tools/sbin/cpp run "program in tools/sbin" ZQT_ERR_FILE=env.txt
cd here
cpp=../tools/sbin/cpp main=../main.c run "../dat/en_msgs.txt" LANG=de ZQT_INSTDIR=nowhere
rm ../dat/en_msgs.txt
cpp=../tools/sbin/cpp main=../main.c run "bare name" LANG=de ZQT_INSTDIR=nowhere
cpp=../tools/sbin/cpp main=../main.c run "no catalogue" ZQT_INSTDIR=nowhere
