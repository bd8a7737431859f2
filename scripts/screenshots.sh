#!/usr/bin/env bash
# Saves PNGs of the three windows with a Japanese example loaded, drawn on a
# virtual X display: scripts/screenshots.sh [FOLDER] (default docs/).
source "$(dirname "$0")/common.sh"
install_missing
build
folder="${1:-$ROOT/docs}"
mkdir -p "$folder"
work="$(mktemp -d)"
cp "$ROOT/examples/reply-sjis.txt" "$work/"
XDG_CONFIG_HOME="$work" xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$BUILD/ui/quibel-screenshots" "$folder" "$work/reply-sjis.txt"
ls "$folder"/*.png
