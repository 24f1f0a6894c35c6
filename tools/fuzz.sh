#!/usr/bin/env bash
# Fuzzes every loader that reads a file a player or designer can damage, with libFuzzer (Debian's clang),
# under AddressSanitizer and UndefinedBehaviorSanitizer, each for a fixed number of executions:
#   tools/fuzz.sh [EXECUTIONS] [TARGET...]     (default 1000000 executions of every target)
# FUZZ_SECONDS=N also ends each target after N seconds, for the targets that play what they load (a level, an
# effect, a profile) and run far fewer inputs a second than the plain readers.
# The seeds are the game's own content; a dictionary of its element and attribute names steers the
# mutations. A finding (a crash, a sanitizer report, an input that runs longer than a minute) stops the run
# and leaves the input that caused it in build/fuzz/findings.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-1000000}
time_limit=()
[ -n "${FUZZ_SECONDS:-}" ] && time_limit=(-max_total_time="$FUZZ_SECONDS")
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(AffineAnimationFuzz EffectFuzz FontFuzz LevelFuzz PlistFuzz SceneFuzz
                                     ScriptFuzz SpriteFuzz UsersFuzz XMLReaderFuzz)
build="$root/build/fuzz"
# The targets keep their per-user folders in the temporary folder, and a saved profile is synced to disk:
# in memory the profile target runs about four times faster.
[ -d /dev/shm ] && export TMPDIR=/dev/shm

# At -O1 clang leaves small library calls (shared pointers, array subscripts) out of line, each with its own
# coverage probes; at -O2 the level target runs about 14 % more inputs a second.
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMOONBROOK_FUZZ=ON \
  -DMOONBROOK_BUILD_TESTS=OFF -DMOONBROOK_BUILD_BENCHMARKS=OFF \
  "-DCMAKE_CXX_FLAGS=-O2 -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all" >/dev/null
cmake --build "$build" --target fuzz_targets

data="$build/data"
# The content files each target reads, as its seeds.
seeds() {
  case "$1" in
    AffineAnimationFuzz) find "$data" -path '*/anim/*.xml' ;;
    EffectFuzz) find "$data/effects" -name '*.xml' ;;
    FontFuzz) find "$data/fonts" -name '*.xml' ;;
    LevelFuzz) find "$data/levels" -name '[0-9]*.xml' ;;
    SceneFuzz) find "$data/scenes" "$data/partials" -name '*.xml' 2>/dev/null || true ;;
    SpriteFuzz) find "$data" -name '*.sprite.xml' ;;
    UsersFuzz) find "$root/tests/fuzz/seeds/UsersFuzz" -type f ;;
    *) ;;
  esac
  [ -d "$root/tests/fuzz/seeds/$1" ] && find "$root/tests/fuzz/seeds/$1" -type f
  return 0
}

dictionary="$build/content.dict"
grep -rhoE '<[A-Za-z_]+|[A-Za-z_]+=' "$data" --include='*.xml' --exclude='fuzz*' | sort -u | sed 's/.*/"&"/' >"$dictionary"

mkdir -p "$build/findings"
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  seeds "$target" | while read -r file; do cp "$file" "$corpus/"; done
  echo "== $target"
  (cd "$build/findings" &&
    "$build/fuzz/$target" -runs="$runs" "${time_limit[@]}" -timeout=60 -max_len=8192 -dict="$dictionary" -print_final_stats=1 "$corpus" \
      2>&1 | grep -E '^(Done|#[0-9]+\s+DONE|stat::number_of_executed_units|stat::peak_rss_mb|==[0-9]+==ERROR|SUMMARY)' )
done
