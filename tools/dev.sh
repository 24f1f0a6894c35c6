#!/usr/bin/env bash
# One entry point for players and developers on Debian 12:
#   tools/dev.sh play [game options]   install what is missing, build, start the game
#   tools/dev.sh test                  install what is missing, build, run the whole test suite
#   tools/dev.sh sanitize              the test suite again under AddressSanitizer, UBSan and LeakSanitizer
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

command=${1:-play}
[ $# -gt 0 ] && shift

bash tools/setup-debian.sh

build() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
}

case "$command" in
  play)
    build default
    cd build/default
    exec ./moonbrook "$@"
    ;;
  test)
    build default
    ctest --preset default
    ;;
  sanitize)
    build sanitize
    ctest --preset sanitize
    ;;
  *)
    echo "usage: tools/dev.sh play|test|sanitize" >&2
    exit 2
    ;;
esac
