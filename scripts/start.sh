#!/usr/bin/env bash
# Installs what is missing, builds, and reformats the bundled example,
# printing it before and after.
source "$(dirname "$0")/common.sh"
install_missing
build
example="$ROOT/examples/reply-utf8.txt"
echo "=== before: examples/$(basename "$example")"
tr -d '\r' < "$example"
echo "=== after: quibel-format examples/$(basename "$example")"
"$BUILD/cli/quibel-format" "$example" | tr -d '\r'
