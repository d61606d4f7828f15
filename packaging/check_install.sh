#!/bin/sh
# Installs the build into a temporary prefix and checks what a desktop sees
# there: the installed files, the desktop entry, the AppStream metainfo, and
# that a .TM2 file (any letter case) has the Tamix MIME type once the MIME
# database under the prefix is built.
# usage: check_install.sh BUILD-DIR WORK-DIR
# Exit 0 when every check passed, 1 when one failed, 77 (skipped) when all
# that ran passed but a tool for another was not installed.
set -u
build="$1"
work="$2"
prefix="$work/prefix"
failed=0
skipped=""

fail() { echo "FAIL: $*"; failed=1; }
have() { command -v "$1" >/dev/null 2>&1 || { skipped="$skipped $1"; return 1; }; }

rm -rf "$work"
mkdir -p "$work"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }

expected="bin/tamix
bin/tamix-tool
share/applications/tamix.desktop
share/icons/hicolor/128x128/apps/tamix.png
share/icons/hicolor/16x16/apps/tamix.png
share/icons/hicolor/256x256/apps/tamix.png
share/icons/hicolor/32x32/apps/tamix.png
share/icons/hicolor/48x48/apps/tamix.png
share/icons/hicolor/64x64/apps/tamix.png
share/icons/hicolor/scalable/apps/tamix.svg
share/man/man1/tamix-tool.1.gz
share/man/man1/tamix.1.gz
share/metainfo/org.tamix.Tamix.metainfo.xml
share/mime/packages/tamix.xml"
actual=$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
  fail "installed files differ from the expected list"
  printf '%s\n' "$expected" >"$work/expected.txt"
  printf '%s\n' "$actual" >"$work/actual.txt"
  diff "$work/expected.txt" "$work/actual.txt"
fi
for program in tamix tamix-tool; do
  [ -x "$prefix/bin/$program" ] || fail "$program is not executable"
done
"$prefix/bin/tamix-tool" --help >/dev/null || fail "the installed tamix-tool does not run"

desktop="$prefix/share/applications/tamix.desktop"
grep -qx 'Exec=tamix %f' "$desktop" || fail "the desktop entry does not start tamix with %f"
grep -qx 'MimeType=application/x-tamix-database;' "$desktop" || fail "the desktop entry names no .TM2 type"
if have desktop-file-validate; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
fi
if have appstreamcli; then
  appstreamcli validate --no-net "$prefix/share/metainfo/org.tamix.Tamix.metainfo.xml" || fail "appstreamcli validate"
fi

if have update-mime-database && have xdg-mime && have mimetype; then
  update-mime-database "$prefix/share/mime" || fail "update-mime-database"
  mkdir -p "$work/home" "$work/files"
  for name in Notes.TM2 notes.tm2; do
    : >"$work/files/$name"
    type=$(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
      HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_DATA_DIRS="$prefix/share" \
      xdg-mime query filetype "$work/files/$name")
    [ "$type" = "application/x-tamix-database" ] || fail "xdg-mime answers '$type' for $name"
  done
fi

[ "$failed" = 0 ] || exit 1
if [ -n "$skipped" ]; then
  echo "skipped: not installed:$skipped"
  exit 77
fi
echo "install layout checked in $prefix"
