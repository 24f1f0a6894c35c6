#!/usr/bin/env bash
# synthesise-sound.sh SOX RECIPE OUT.ogg
# A recipe is the chain of sox effects that makes a sound from silence (usually starting with "synth"),
# written over as many lines as reads well; lines starting with # are comments. Tones given together in one
# "synth" become channels: recipes mix them down ("remix -") and then normalise ("gain -n PEAK"), so each
# sound's loudness is chosen on purpose. The sound comes out as 44.1 kHz mono OGG Vorbis.
set -euo pipefail
sox=$1 recipe=$2 output=$3
mapfile -t words < <(grep -v '^[[:space:]]*#' "$recipe" | tr -s '[:space:]' '\n' | sed '/^$/d')
"$sox" -q -r 44100 -n -c 1 -C 5 "$output.tmp.ogg" "${words[@]}"
mv "$output.tmp.ogg" "$output"
