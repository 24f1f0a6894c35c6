#!/usr/bin/env bash
# Builds the Debian package of a build folder, unpacks it into a scratch root as dpkg would install it, checks
# its dependencies, desktop launcher, software-centre entry and icons, and starts the unpacked program headless
# from an unrelated working folder: it must read the content it brought and end cleanly.
#   package-test.sh CPACK BUILD-FOLDER APP-ID ICON-SIZE...
set -euo pipefail
cpack=$1 build=$2 app_id=$3
shift 3
icon_sizes=("$@")

scratch=$(mktemp -d "${TMPDIR:-/tmp}/moonbrook-package.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "package test: $*" >&2
  exit 1
}

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.txt" 2>&1 ||
  { cat "$scratch/cpack.txt" >&2; fail "cpack failed"; }
packages=("$scratch"/out/*.deb)
[ ${#packages[@]} -eq 1 ] && [ -f "${packages[0]}" ] || fail "cpack made no single .deb"
package=${packages[0]}
echo "$(basename "$package"): $(du -k "$package" | cut -f1) KiB"

depends=$(dpkg-deb --field "$package" Depends)
echo "Depends: $depends"
for library in libc6 libstdc++6 libsdl2-2.0-0 libsdl2-mixer-2.0-0 libplist3; do
  grep -qwF "$library" <<<"$depends" || fail "Depends does not name $library"
done

dpkg-deb --extract "$package" "$scratch/root"
prefix=$scratch/root/usr
desktop-file-validate "$prefix/share/applications/$app_id.desktop" || fail "desktop file rejected"
appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" || fail "metainfo rejected"
for size in "${icon_sizes[@]}"; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png
  [ -f "$icon" ] || fail "no icon $icon"
  # A PNG's width and height follow its signature and chunk header, big-endian.
  read -r width height < <(od -An -tu4 --endian=big -j16 -N8 "$icon")
  [ "$width x $height" = "$size x $size" ] || fail "$icon is $width x $height"
done
[ -f "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg" ] || fail "no scalable icon"
ls "$prefix"/share/moonbrook/ldata/*/data/gfx/*/*.png >/dev/null 2>&1 || fail "no pictures drawn for a language"

mkdir "$scratch/elsewhere"
cd "$scratch/elsewhere"
printf 'wait 20\ndump scene scene.json\n' >script.txt
status=0
XDG_DATA_HOME=$scratch/home "$prefix/bin/moonbrook" --headless --frames 30 --script script.txt 2>stderr.txt ||
  status=$?
[ $status -eq 0 ] || fail "the installed program exited $status: $(cat stderr.txt)"
log=$scratch/home/Moonbrook/log.txt
grep -qF "content folder: $prefix/share/moonbrook/" "$log" || fail "content not read from the package: $(cat "$log")"
if grep -E 'file not found|unreadable' "$log" >&2; then fail "content missing from the package"; fi
grep -q '"class": *"SplashScene"' scene.json || fail "no opening scene: $(head -c 300 scene.json)"
