# Which reports are shown and counted: warning levels against -W, "!",
# messages disabled or off, the "0" list, the error limit (20 while the
# options are read, then --emax= or 10), fatal messages and entries of an
# unknown kind (shown as warnings whatever the level, never counted). Each line:
# the options, what was reported, the exit status.
export ZQT_ERR_FORMAT='E%n' ZQT_WARN_FORMAT='W%n' ZQT_MSG_FORMAT='M %s'
run() {
  "$CPP" -E1 ${edf---edf=cat.txt} "$@" main.c > /dev/null 2> err.txt
  local status=$?
  echo "$*: $(crlf_to_lf < err.txt | tr '\n' ' ')=> $status"
}
run
run -W2
run -W3
run -W-3
run -W-2
run -W2!
run -W3 -W!
run -W!
run --disl=111,162
run -DERR --disl=103
run -DERR --msgdisable=103:OFF
run -DERR --disl=0,103:off
edf= run --disl=0 --edf=cat.txt -DERR
run -DFATAL --disl=141:off
run -DERR --emax=1
run -DERR --emax=0 -W10
run -DERR --emax=0 -W11
run -DMANY
edf= run $(printf -- '-Q %.0s' {1..21})
edf=--edf=odd.txt run -DODD -W100!
