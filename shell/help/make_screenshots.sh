#!/bin/sh
# Makes the pictures of the user guide (shell/help/*.png) from the program
# itself under a virtual X display, in a throw-away home folder, on the
# welcome database: the whole window, its toolbars, the tree, the editor, the
# status bar, each menu (help_screenshots), and the window of the real
# `tamix` program on the desktop (overview.png).
# usage: shell/help/make_screenshots.sh [BUILD-DIR]   (default build)
# Needs xvfb-run and ImageMagick's import; run from the repository root.
set -e
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-build}" && pwd)"
cmake --build "$build" --target tamix tamix-tool help_screenshots
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share" \
       XDG_RUNTIME_DIR="$work/run" LANG=C.UTF-8
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
first=$(sh "$here/../welcome/make_welcome.sh" "$build/tools/tamix-tool" "$work/Welcome.TM2" | sed 's/.*first note //')

screen="-screen 0 1100x760x24"
xvfb-run -a -s "$screen" "$build/shell/help/help_screenshots" "$work/Welcome.TM2" "$here" "$first"

# The real program, placed at the top left by its settings (twips at 96 dpi:
# 15 per pixel), photographed from the screen.
mkdir -p "$XDG_CONFIG_HOME/Tamix"
cat >"$XDG_CONFIG_HOME/Tamix/Tamix.conf" <<CONF
[Startup]
Left=0
Top=0
Width=14400
Height=9600
CONF
xvfb-run -a -s "$screen" sh -c "
  '$build/shell/tamix' '$work/Welcome.TM2' &
  sleep 4
  import -window root '$work/screen.png'
  kill \$!"
convert "$work/screen.png" -crop 960x640+0+0 +repage "$here/overview.png"
echo "wrote $here/overview.png"
