#!/usr/bin/env bash
# Builds everything and runs every test; exits non-zero when any fails.
#   scripts/test.sh              the normal build in build/
#   scripts/test.sh --sanitize   AddressSanitizer and UndefinedBehaviorSanitizer, in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = --sanitize ]; then
  # Modules are called across libraries by slot, each library holding its own hidden copy of
  # the interface's type information, so the dynamic-type check (vptr) does not apply.
  flags="-fsanitize=address,undefined -fno-sanitize=vptr -fno-sanitize-recover=undefined"
  flags="$flags -fno-omit-frame-pointer"
  # Leaks inside the system libraries the desktop brings in (fonts, Qt's platform layer) are
  # theirs; the rest must be free of leaks.
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  BUILD_DIR=build-asan scripts/build.sh -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_FLAGS="$flags" \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DCMAKE_MODULE_LINKER_FLAGS="-fsanitize=address,undefined"
  cd build-asan
else
  scripts/build.sh
  cd build
fi
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 -j"$(nproc)"
