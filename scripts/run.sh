#!/usr/bin/env bash
# Builds the converter and starts it with the arguments given.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null
exec build/app/Ostrel "$@"
