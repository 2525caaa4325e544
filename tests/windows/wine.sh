#!/usr/bin/env bash
# Runs a Windows program under wine, in a wine prefix of its own (never the
# user's ~/.wine):
#   wine.sh <prefix> <program> [arguments...]   run the program
#   wine.sh <prefix> --start                    start the prefix's wine server
#                                               and keep it up
#   wine.sh <prefix> --stop                     stop it
# The prefix is made on first use (once, under a lock: tests start in
# parallel). Only the 64-bit loader is used, so no 32-bit wine is needed.
set -u
prefix=$(realpath -m "$1")
shift
export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINELOADER=${WINE64:-/usr/lib/wine/wine64}
# No menu entries, .NET or HTML engine: nothing the programs need.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
server=${WINESERVER:-/usr/lib/wine/wineserver}

make_prefix() {
    mkdir -p "$(dirname "$prefix")"
    (
        flock 9
        if [ ! -f "$prefix/.made" ]; then
            rm -rf "$prefix"
            "$WINELOADER" wineboot -i > /dev/null 2>&1 && "$server" -w && touch "$prefix/.made"
        fi
    ) 9> "$prefix.lock"
    [ -f "$prefix/.made" ] || { echo "wine.sh: cannot make the wine prefix $prefix" >&2; exit 1; }
}

[ -f "$prefix/.made" ] || make_prefix
case "${1-}" in
    --start)
        # The server stays up, and so do the prefix's services, started here
        # with no standard streams: started by a test's first program they
        # would inherit its pipes and keep them open after it ends. A server
        # left running by an earlier suite is taken over as it is.
        "$server" -p 2> /dev/null
        "$WINELOADER" wineboot < /dev/null > /dev/null 2>&1
        exit 0
        ;;
    --stop)
        "$server" -k 2> /dev/null
        exit 0
        ;;
esac
exec "$WINELOADER" "$@"
