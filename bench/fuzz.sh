#!/usr/bin/env bash
# Fuzzes the engine for SECONDS (default 60) with libFuzzer: builds the engine instrumented
# (clang, AddressSanitizer, UndefinedBehaviorSanitizer) in build-fuzz/, seeds the corpus
# build-fuzz/corpus/ with PDFs of our own making when it is empty, and runs. Crashing inputs
# are kept as build-fuzz/crash-*. Not run by the tests.
#   bench/fuzz.sh [SECONDS] [extra libFuzzer options]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
scripts/build.sh >/dev/null  # the project's own packages, and a normal build
if ! command -v clang++ >/dev/null; then  # libFuzzer comes with Debian's clang
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends clang
fi
cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DOSTREL_FUZZ=ON >/dev/null
cmake --build build-fuzz --target engine_fuzz -j"$(nproc)"
corpus=build-fuzz/corpus
if [ ! -d "$corpus" ] || [ -z "$(ls -A "$corpus")" ]; then
  OSTREL_FUZZ_SEEDS="$corpus" build-fuzz/bench/engine_fuzz
fi
cd build-fuzz
exec bench/engine_fuzz -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
  -print_final_stats=1 "$@" corpus
