#!/usr/bin/env bash
# render-music.sh SCORE_TO_MIDI FLUIDSYNTH SOUND_FONT SOX SCORE OUT.ogg
# Turns a score into a seamlessly looping piece of music:
#   1. score_to_midi writes the piece, played once, as MIDI and prints the loop's length in samples;
#   2. FluidSynth plays it with the General MIDI sound font into a float WAV, a few seconds longer than the loop
#      so the last notes and the reverb ring out;
#   3. everything after the loop's end is mixed back onto its start, so the loop is exactly one period long and
#      the tails continue across the seam as they would if the piece played again;
#   4. the loop is brought to the music's loudness (RMS over the whole loop), never above the peak ceiling,
#      and written as 44.1 kHz stereo OGG Vorbis.
# Same score, same file: FluidSynth renders without chorus or random dither, and sox runs repeatable (-R).
set -euo pipefail
score_to_midi=$1 fluidsynth=$2 sound_font=$3 sox=$4 score=$5 output=$6

# Music sits about 6 dB below the typical sound effect (the sounds' median RMS is -15.5 dBFS) and never peaks
# near full scale; docs/content.md "Loudness" says how both are measured.
target_rms_db=-21
peak_ceiling_db=-1.5

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

loop_samples=$("$score_to_midi" "$score" "$work/piece.mid")
"$fluidsynth" -n -i -q -F "$work/render.wav" -O float -r 44100 -g 0.4 -R 1 -C 0 \
  -o synth.reverb.room-size=0.55 -o synth.reverb.damp=0.35 -o synth.reverb.width=0.9 \
  -o synth.reverb.level=0.6 "$sound_font" "$work/piece.mid" >/dev/null

"$sox" -R "$work/render.wav" "$work/body.wav" trim 0 "${loop_samples}s" 2>/dev/null
"$sox" -R "$work/render.wav" "$work/tail.wav" trim "${loop_samples}s" 2>/dev/null
"$sox" -R -m -v 1 "$work/body.wav" -v 1 "$work/tail.wav" "$work/loop.wav" trim 0 "${loop_samples}s"

read -r rms_db peak_db < <("$sox" "$work/loop.wav" -n stats 2>&1 |
  awk '/^RMS lev dB/ { rms = $4 } /^Pk lev dB/ { peak = $4 } END { print rms, peak }')
gain_db=$(awk -v rms="$rms_db" -v peak="$peak_db" -v target="$target_rms_db" -v ceiling="$peak_ceiling_db" \
  'BEGIN { gain = target - rms; if (peak + gain > ceiling) gain = ceiling - peak; printf "%.2f", gain }')
"$sox" -R "$work/loop.wav" -C 6 "$output.tmp.ogg" gain "$gain_db"
mv "$output.tmp.ogg" "$output"
