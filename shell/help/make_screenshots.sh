#!/bin/sh
# Makes the pictures of the user guide (shell/help/*.png) under a virtual X
# display, in a throw-away home folder, on the welcome database:
# - overview.png: the real `tamix` program on the screen, the note "Welcome"
#   chosen with the keyboard;
# - toolbars, tree, editor, statusbar and menu-*.png: the same main window
#   grabbed area by area, each menu opened (help_screenshots).
# usage: shell/help/make_screenshots.sh [BUILD-DIR]   (default build)
# Needs xvfb-run, xdotool and ImageMagick (import, convert).
set -e
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-build}" && pwd)"
cmake --build "$build" --target tamix tamix-tool help_screenshots
# A fixed folder, since the File menu shows the database's path.
work=/tmp/tamix-guide
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share" \
       XDG_RUNTIME_DIR="$work/run" LANG=C.UTF-8
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
first=$(sh "$here/../welcome/make_welcome.sh" "$build/tools/tamix-tool" "$work/Welcome.TM2" | sed 's/.*first note //')

screen="-screen 0 1100x760x24"
xvfb-run -a -s "$screen" "$build/shell/help_screenshots" "$work/Welcome.TM2" "$here" "$first"

# The real program at the top left of the screen, 960 x 640 pixels (the
# settings are in twips: 15 per pixel at 96 dpi). A click on the top of the
# tree gives it the keyboard; then down to "Ideas", open it, down past its
# two notes and "Shopping" to "Welcome".
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
  program=\$!
  xdotool search --sync --onlyvisible --name '^Tamix' >/dev/null
  sleep 2
  xdotool mousemove 60 97 click 1 sleep 0.5 mousemove 900 700
  xdotool key --delay 300 Down Right Down Down Down Down
  sleep 2
  import -window root '$work/screen.png'
  kill \$program"
convert "$work/screen.png" -crop 960x640+0+0 +repage "$here/overview.png"
echo "wrote $here/overview.png"
