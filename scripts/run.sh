#!/usr/bin/env bash
# Builds the converter and starts it with the arguments given; with none, the list starts
# with the sample guide, so there is something to convert at once.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null
app="$PWD/build/app"
if (($# == 0)); then
  set -- -f "$app/sys/soft/Ostrel PDF to JPEG/Sample/Ostrel guide.pdf"
fi
exec "$app/Ostrel" "$@"
