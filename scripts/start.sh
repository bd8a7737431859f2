#!/usr/bin/env bash
# Installs what is missing, builds, and opens the window on the bundled
# example. Without a display it shows the example before and after the
# filter instead.
source "$(dirname "$0")/common.sh"
install_missing
build
example="$ROOT/examples/reply-sjis.txt"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  # The run writes RES_OUT.TXT beside the source: work on a copy.
  work="$(mktemp -d)"
  cp "$example" "$work/"
  echo "Opening the window on $work/$(basename "$example")"
  exec "$BUILD/ui/quibel" "$work/$(basename "$example")"
fi
echo "No display reachable: running the filter instead."
echo "=== before: examples/$(basename "$example")"
iconv -f CP932 -t UTF-8 < "$example" | tr -d '\r'
echo "=== after: quibel-format examples/$(basename "$example")"
"$BUILD/cli/quibel-format" "$example" | iconv -f CP932 -t UTF-8 | tr -d '\r'
