#!/usr/bin/env bash
# Opens an information report in headless Chromium: both frames must load,
# every contents link must reach a named anchor of the main page, and macro
# values holding '<', '&' and '>' must read as written, adding no element.
# Usage: report_frames.sh <cpp binary> <stylesheet>. Exits 77 (skipped)
# when no chromium is installed.
set -u
browser=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$browser" ]; then
  echo "chromium is not installed: browser check skipped"
  exit 77
fi
cpp=$(realpath "$1")
stylesheet=$(realpath "$2")
here=$(dirname "$(realpath "$0")")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2
cat > in.c <<'SRC'
#define SQUARE(x) ((x) * (x))
#define LIMIT 10
#define INC <stdio.h>
#define L <a&b>
#define LESS(a,b) ((a)<b)
int area = SQUARE(LIMIT);
SRC
"$cpp" --udf=report.html -DDEBUG=1 in.c out.i > cpp.log 2>&1
status=$?
if [ "$status" != 0 ]; then
  echo "cpp ended with status $status:"
  cat cpp.log
  exit 1
fi
for f in report.html toc_report.html main_report.html; do
  [ -f "$f" ] || { echo "missing $f"; exit 1; }
done
cp "$stylesheet" udf_styles.css
cp "$here/report_probe.html" probe.html

timeout 90 "$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
  --disable-background-networking --disable-component-update --disable-sync \
  --allow-file-access-from-files --user-data-dir="$work/profile" \
  --virtual-time-budget=5000 --dump-dom "file://$work/probe.html" > dom.html 2> browser.log
verdict=$(sed -n 's/.*<pre id="verdict">\([^<]*\).*/\1/p' dom.html)
echo "${verdict:-no verdict from the browser}"
if [ "$verdict" != "REPORT OK" ]; then
  grep -v dbus browser.log | tail -5
  exit 1
fi
