#!/usr/bin/env bash
# Fuzzes the XML reader and the property-list loader with libFuzzer (Debian's clang), under AddressSanitizer
# and UndefinedBehaviorSanitizer, each for a fixed number of executions:
#   tools/fuzz.sh [EXECUTIONS]        (default 1000000)
# A finding stops the run and leaves the input that caused it in the working folder (crash-*, leak-*).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-1000000}
build="$root/build/fuzz"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DMOONBROOK_BUILD_TESTS=OFF -DMOONBROOK_BUILD_BENCHMARKS=OFF \
  "-DCMAKE_CXX_FLAGS=-O1 -fsanitize=fuzzer-no-link,address,undefined" >/dev/null
cmake --build "$build" --target moonbrook_core

for target in XMLReaderFuzz PlistFuzz; do
  # shellcheck disable=SC2046
  clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -I"$root" "$root/tests/fuzz/$target.cpp" \
    -Wl,--whole-archive "$build/engine/core/libmoonbrook_core.a" -Wl,--no-whole-archive \
    $(pkg-config --libs libplist-2.0) -o "$build/$target"
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  cp "$root/tests/fuzz/seeds/$target/"* "$corpus/"
  "$build/$target" -runs="$runs" -max_len=4096 -print_final_stats=1 "$corpus"
done
