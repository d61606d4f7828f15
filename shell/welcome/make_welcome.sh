#!/bin/sh
# Writes the welcome database that `make run` starts Tamix on.
# usage: make_welcome.sh TAMIX-TOOL OUTPUT-FILE
set -e
tool="$1"
out="$2"
here="$(dirname "$0")"
rm -f "$out"
"$tool" new "$out"
welcome=$("$tool" add "$out" k0000000001 "Welcome" "$here/welcome.rtf")
"$tool" add "$out" k0000000001 "Shopping" "$here/shopping.rtf" >/dev/null
ideas=$("$tool" add "$out" k0000000001 "Ideas" "$here/ideas.rtf")
"$tool" add "$out" "$ideas" "Garden" "$here/garden.rtf" >/dev/null
"$tool" add "$out" "$ideas" "Summer trip" "$here/trip.rtf" >/dev/null
echo "$out: $("$tool" records "$out" | wc -l) records, first note $welcome"
