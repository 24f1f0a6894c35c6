#!/usr/bin/env bash
# sequence-music.sh SOX SCORE OUT.ogg
# Plays a score with sox's synthesiser. A score is plain text; lines starting with # are comments:
#   tempo BPM                        beats per minute (default 100)
#   repeat N                         the whole piece N times (default 1)
#   track SHAPE VOLUME [EFFECTS...]  a new voice: a sox synth shape (sine, triangle, square, sawtooth, pluck),
#                                    its loudness 0..1, and sox effects for that voice (e.g. "lowpass 1800")
#   NOTE/BEATS ...                   notes of the current voice: C4/1, F#3/0.5, Bb5/2; r/BEATS is a rest;
#                                    chords join notes with +, as C4+E4+G4/2
# Every note fades in and out briefly so notes do not click; the voices are mixed, given a little room
# reverb and normalised to -6 dB, then written as 44.1 kHz stereo OGG Vorbis.
set -euo pipefail
sox=$1 score=$2 output=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tempo=100 repeat=1 track=0 shape=sine volume=0.5 effects=() note_index=0

semitones() {  # note name -> semitones from A4
  local name=$1 letter=${1:0:1} rest=${1:1} offset
  case $letter in C) offset=-9 ;; D) offset=-7 ;; E) offset=-5 ;; F) offset=-4 ;; G) offset=-2 ;; A) offset=0 ;;
    B) offset=2 ;; *) echo "bad note $name in $score" >&2; exit 1 ;; esac
  case $rest in '#'*) offset=$((offset + 1)); rest=${rest:1} ;; b*) offset=$((offset - 1)); rest=${rest:1} ;; esac
  echo $((offset + 12 * (rest - 4)))
}

finish_track() {
  [ "$track" -gt 0 ] || return 0
  local parts=("$work"/t${track}_*.wav)
  "$sox" "${parts[@]}" "$work/track$track.wav" ${effects[@]+"${effects[@]}"} vol "$volume"
  rm -f "${parts[@]}"
}

play_note() {  # NOTE/BEATS
  local pitch=${1%/*} beats=${1#*/} seconds tones=()
  seconds=$(awk -v b="$beats" -v t="$tempo" 'BEGIN { printf "%.4f", b * 60 / t }')
  note_index=$((note_index + 1))
  local file
  file=$(printf '%s/t%d_%05d.wav' "$work" "$track" "$note_index")
  if [ "$pitch" = r ]; then
    "$sox" -n -r 44100 -c 1 "$file" trim 0 "$seconds"
    return
  fi
  IFS=+ read -r -a notes <<<"$pitch"
  for note in "${notes[@]}"; do tones+=("$shape" "%$(semitones "$note")"); done
  "$sox" -n -r 44100 -c 1 "$file" synth "$seconds" "${tones[@]}" \
    fade q 0.01 "$seconds" "$(awk -v s="$seconds" 'BEGIN { printf "%.4f", s * 0.3 }')"
}

while read -r line; do
  read -r -a words <<<"$line"
  [ ${#words[@]} -gt 0 ] && [[ ${words[0]} != '#'* ]] || continue
  case ${words[0]} in
    tempo) tempo=${words[1]} ;;
    repeat) repeat=${words[1]} ;;
    track)
      finish_track
      track=$((track + 1)) shape=${words[1]} volume=${words[2]} effects=("${words[@]:3}") ;;
    *) for word in "${words[@]}"; do play_note "$word"; done ;;
  esac
done <"$score"
finish_track

"$sox" -q -m "$work"/track*.wav -c 2 "$work/mix.wav" reverb 30 50 60 gain -n -6
loops=()
for _ in $(seq "$repeat"); do loops+=("$work/mix.wav"); done
"$sox" -q "${loops[@]}" -C 4 "$output.tmp.ogg"
mv "$output.tmp.ogg" "$output"
