#!/bin/bash
# The program as a user gets it: installed into a temporary DESTDIR (install),
# or as the Debian package, inspected and unpacked there (deb). Then the
# installed zoomwright-cli runs on the installed example style, and the
# installed window starts from the read-only prefix with a fresh settings
# folder, twice, and keeps its settings there.
# usage: installed_program.sh install|deb BUILD_DIR VERSION
set -u
mode=$1 build=$2 version=$3
tmp=$(mktemp -d)
cleanup() { chmod -R u+w "$tmp" 2>/dev/null; rm -rf "$tmp"; }
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
root=$tmp/root prefix=$tmp/root/usr

if [ "$mode" = install ]; then
  DESTDIR=$root cmake --install "$build" --prefix /usr >"$tmp/install.log" 2>&1 ||
    { cat "$tmp/install.log"; fail "cmake --install"; }
else
  # Packs the programs already built; nothing is built again.
  (cd "$tmp" && cpack -G DEB -B "$tmp/pkg" --config "$build/CPackConfig.cmake") >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log"; fail "cpack"; }
  deb=$tmp/pkg/zoomwright_${version}_amd64.deb
  [ -f "$deb" ] || fail "no $deb"
  info=$(dpkg-deb --info "$deb") || fail "dpkg-deb --info"
  echo "$info"
  for field in "Package: zoomwright" "Version: $version" "Architecture: amd64" "Recommends: mkgmap" \
               "Depends: .*libqt6widgets6" "Depends: .*libc6"; do
    grep -q "^ $field" <<<"$info" || fail "control has no \"$field\""
  done
  contents=$(dpkg-deb --contents "$deb") || fail "dpkg-deb --contents"
  # Nothing outside /usr, and each file of the install in it.
  if grep -v ' \./usr/' <<<"$contents" | grep -v ' \./$' | grep -q .; then
    fail "files outside /usr: $(grep -v ' \./usr/' <<<"$contents")"
  fi
  for f in bin/zoomwright bin/zoomwright-cli lib/zoomwright/zoomwright-raster.so \
           share/man/man1/zoomwright-cli.1.gz \
           share/doc/zoomwright/copyright share/doc/zoomwright/changelog.gz; do
    grep -q " \./usr/$f\$" <<<"$contents" || fail "package lacks /usr/$f"
  done
  if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" || fail "lintian reports errors"
  fi
  dpkg -x "$deb" "$root" || fail "dpkg -x"
fi

for f in bin/zoomwright bin/zoomwright-cli lib/zoomwright/zoomwright-raster.so \
         share/zoomwright/help/index.html \
         share/zoomwright/examples/styles/example/lines share/applications/zoomwright.desktop \
         share/icons/hicolor/scalable/apps/zoomwright.svg; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done
ls "$prefix"/share/man/man1/zoomwright-cli.1* >/dev/null || fail "no manual page"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/zoomwright.desktop" || fail "desktop entry"
fi

# The prefix is read-only from here on, and must stay as it is.
chmod -R a-w "$root"
snapshot() { (cd "$root" && find . -printf '%p %y %s %m %T@\n' | sort); }
before=$(snapshot)
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME"
style=$prefix/share/zoomwright/examples/styles/example

out=$("$prefix/bin/zoomwright-cli" analyse "$style" --kind lines --all --inc --sort 2>"$tmp/err") ||
  { cat "$tmp/err"; fail "installed zoomwright-cli analyse"; }
grep -q "^rows	[1-9]" <<<"$out" || fail "no rows: $out"
[ -s "$XDG_CONFIG_HOME/zoomwright/system/lines.res" ] || fail "CLI made no category files in the settings folder"
"$prefix/bin/zoomwright-cli" chart "$style" --kind lines --all --out "$tmp/chart.png" >/dev/null 2>&1 ||
  fail "installed zoomwright-cli chart"

# The window: started, closed as the session would close it, started again.
settings=$tmp/window-config/zoomwright
export XDG_CONFIG_HOME=$tmp/window-config
wait_for() {  # file, seconds
  for _ in $(seq $(($2 * 10))); do [ -e "$1" ] && return 0; sleep 0.1; done
  return 1
}
run_window() {  # seconds to let it start, arguments...
  local settle=$1; shift
  "$prefix/bin/zoomwright" "$@" >"$tmp/window.log" 2>&1 &
  local pid=$!
  wait_for "$settings/system/lines.res" 60 || { kill -9 $pid; fail "the window made no settings folder"; }
  sleep "$settle"
  kill -TERM $pid
  for _ in $(seq 300); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $pid 2>/dev/null && { kill -9 $pid; fail "the window did not close"; }
  wait $pid || { cat "$tmp/window.log"; fail "the window ended with status $?"; }
}
run_window 1 "$prefix/share/zoomwright/examples/styles"
[ -f "$settings/levels.dat" ] || fail "no levels.dat in $settings"
line() { sed -n "$1p" "$settings/levels.dat" | tr -d '\r'; }
[ "$(line 3)" = "$prefix/share/zoomwright/examples/styles" ] || fail "style root not kept: $(line 3)"
# A chart font size of 12 and a line the program does not write: the second
# start must restore the first and rewrite the file without the second.
sed -i '5s/.*/ 12 \r/' "$settings/levels.dat"
printf 'not written by the program\r\n' >>"$settings/levels.dat"
run_window 3
[ "$(line 3)" = "$prefix/share/zoomwright/examples/styles" ] || fail "style root not restored: $(line 3)"
[ "$(line 5)" = " 12 " ] || fail "font size not restored: '$(line 5)'"
grep -q "not written" "$settings/levels.dat" && fail "levels.dat was not written at the second close"
[ "$(snapshot)" = "$before" ] || fail "the installed files changed: $(diff <(echo "$before") <(snapshot))"

# A settings folder that cannot be made: said, named, defaults used, nothing written.
bad=$tmp/bad-config
mkdir -p "$bad" && echo "a file in its place" >"$bad/zoomwright"
export XDG_CONFIG_HOME=$bad
out=$("$prefix/bin/zoomwright-cli" analyse "$style" --kind lines --all 2>"$tmp/err") ||
  { cat "$tmp/err"; fail "zoomwright-cli without a settings folder"; }
grep -q "^rows	[1-9]" <<<"$out" || fail "no rows without a settings folder: $out"
grep -q "^message: The settings cannot be kept in $bad/zoomwright" "$tmp/err" || fail "no message: $(cat "$tmp/err")"
[ "$(find "$bad" "$HOME" -mindepth 1 | wc -l)" = 1 ] || fail "written without a settings folder: $(find "$bad" "$HOME")"
[ "$(snapshot)" = "$before" ] || fail "the installed files changed"
echo "installed program ($mode): passed"
