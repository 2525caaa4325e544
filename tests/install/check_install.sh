#!/usr/bin/env bash
# Checks that an installed cpp works wherever it is put and from whatever
# directory it is run: its message catalogues are found beside it (an
# unknown directive shows its text, in English and in German, not the "no
# description" fallback), through a link too, and its manual page is there.
#
#   check_install.sh tree <build dir>       cmake --install into a temporary
#                                           prefix and check that tree
#   check_install.sh packages <build dir>   cpack -G DEB and -G TGZ, check the
#                                           Debian metadata, unpack both and
#                                           check each tree
#
# CMAKE and CPACK name the tools (default: cmake and cpack on PATH). Exits 77
# (skipped) when a tool the check needs is missing.
set -euo pipefail
mode=$1
build=$(realpath "$2")
CMAKE=${CMAKE:-cmake}
CPACK=${CPACK:-cpack}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The files an installation holds, and nothing else.
expected_files() {
  printf '%s\n' bin/cpp dat/de_msgs.txt dat/en_msgs.txt dat/fr_msgs.txt dat/udf_styles.css \
    share/man/man1/cpp.1
}

# check_tree <root>: the installed tree under root.
check_tree() {
  local root=$1 listed elsewhere run lang prog text got
  listed=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort)
  [ "$listed" = "$(expected_files)" ] || { fail "files of $root:"; diff <(expected_files) <(echo "$listed") || true; }
  # Run from an unrelated directory, with no hint of where the tree is, in
  # English and in German, and called through a link on PATH with no
  # language set, as from /usr/local/bin.
  elsewhere=$(mktemp -d "$work/elsewhere.XXXXXX")
  printf '#foo\nok\n' > "$elsewhere/in.c"
  mkdir "$elsewhere/links"
  ln -s "$root/bin/cpp" "$elsewhere/links/cpp"
  for run in "C|$root/bin/cpp|(107) unknown directive #foo" "|cpp|(107) unknown directive #foo" \
    "de_DE.UTF-8|$root/bin/cpp|(107) unbekannte Direktive #foo"; do
    IFS='|' read -r lang prog text <<<"$run"
    got=$(cd "$elsewhere" && env -u ZQT_INSTDIR -u ZQT_ERR_FILE -u LC_ALL -u LC_MESSAGES -u LANG \
      ${lang:+LANG=$lang} PATH="$elsewhere/links:$PATH" "$prog" in.c 2>&1 >/dev/null | tail -n 1 || true)
    [[ $got == *"$text"* ]] || fail "$prog with LANG=$lang shows: $got"
  done
  if command -v man >/dev/null; then
    MANWIDTH=80 man -l "$root/share/man/man1/cpp.1" 2>/dev/null | grep -q 'cpp - C preprocessor' ||
      fail "manual page of $root does not render"
  fi
}

case $mode in
  tree)
    [ ! -e "$build/dat/CMakeLists.txt" ] || fail "the build's dat/ holds CMakeLists.txt"
    "$CMAKE" --install "$build" --prefix "$work/prefix" >/dev/null
    check_tree "$work/prefix"
    ;;
  packages)
    if ! command -v dpkg-deb >/dev/null; then
      echo "skipped: no dpkg-deb to look into the Debian package"
      exit 77
    fi
    (cd "$work" && "$CPACK" --config "$build/CPackConfig.cmake" -G "DEB;TGZ" -B "$work/pkg" >/dev/null)
    deb=$(ls "$work"/pkg/*.deb)
    tgz=$(ls "$work"/pkg/*.tar.gz)
    # Debian metadata.
    arch=$(dpkg --print-architecture)
    declare -A fields=([Package]=quev-cpp [Architecture]="$arch" [Section]=devel
      [Priority]=optional)
    for f in "${!fields[@]}"; do
      [ "$(dpkg-deb -f "$deb" "$f")" = "${fields[$f]}" ] ||
        fail "$f of the package is '$(dpkg-deb -f "$deb" "$f")', not '${fields[$f]}'"
    done
    version=$(dpkg-deb -f "$deb" Version)
    [[ $version == [0-9]*.[0-9]*-[0-9]* ]] || fail "package version '$version'"
    for f in Maintainer Description; do
      [ -n "$(dpkg-deb -f "$deb" "$f")" ] || fail "the package has no $f"
    done
    [ "$(basename "$deb")" = "quev-cpp_${version}_${arch}.deb" ] || fail "package name $(basename "$deb")"
    # Everything under the toolchain folder.
    if dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '^\./$' | grep -v '^\./opt/' ; then
      fail "the package installs outside /opt"
    fi
    dpkg-deb -x "$deb" "$work/deb"
    check_tree "$work/deb/opt/quev"
    # The tarball: one top folder holding the tree, to unpack anywhere.
    top=$(tar tzf "$tgz" | cut -d/ -f1 | sort -u)
    [ "$(echo "$top" | wc -l)" = 1 ] || fail "the tarball has several top folders: $top"
    mkdir "$work/tgz"
    tar xzf "$tgz" -C "$work/tgz"
    check_tree "$work/tgz/$top"
    ;;
  *)
    echo "usage: $0 tree|packages <build dir>" >&2
    exit 2
    ;;
esac

[ "$failures" = 0 ] || { echo "$failures failures"; exit 1; }
echo "ok: $mode"
