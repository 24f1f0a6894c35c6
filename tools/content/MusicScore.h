#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace moonbrook::tools {

// Timing resolution of a score: 960 divides into halves, thirds, quarters, fifths, sixths and eighths of a
// beat, so every duration a score can sensibly name is a whole number of ticks and the loop never drifts.
constexpr std::int64_t kTicksPerBeat = 960;

// One instrument part. Drum voices play on the percussion channel and name strokes ("kick", "hat") or keys.
struct ScoreVoice {
    std::string name;
    int program = 0;  // General MIDI program, 0..127 (for drums: the kit)
    bool drums = false;
    int volume = 100;    // channel volume, 0..127
    int pan = 64;        // 0 left .. 64 centre .. 127 right
    int reverb = 40;     // reverb send, 0..127
    double gate = 0.95;  // part of each written length that sounds
};

struct ScoreNote {
    int voice = 0;
    int key = 60;
    int velocity = 80;
    std::int64_t startTick = 0;
    std::int64_t lengthTicks = 0;  // written length; the sounding length is soundingTicks()
    double gate = 0.95;

    std::int64_t soundingTicks() const;
};

// A piece ready to be written as MIDI: every note of the whole play list, in ticks from the start of the
// loop.
struct Score {
    int beatsPerMinute = 100;
    int beatsPerBar = 4;
    std::vector<ScoreVoice> voices;
    std::vector<ScoreNote> notes;
    std::int64_t loopTicks = 0;

    // Microseconds per beat as the MIDI file stores it (a whole number).
    std::int64_t microsecondsPerBeat() const;
    // The loop's length in samples at the given rate, from the stored tempo, rounded to the nearest sample.
    std::int64_t loopSamples(int sampleRate) const;
};

struct ScoreError {
    int line = 0;
    std::string message;
};

// Reads a score (the format is described in docs/content.md "Music"); answers the first mistake with its
// line.
std::variant<Score, ScoreError> parseScore(const std::string& text);

// One note word ("C#4/0.5", "E4+G4+C5/1/3>", "r/2", "kick+hat/0.5") read on its own, for the parser and
// tests.
struct NoteWord {
    std::vector<int> keys;   // empty for a rest
    std::int64_t ticks = 0;  // 0 when the word gives no length (the voice's last length applies)
    bool accent = false;
    bool staccato = false;
    bool tie = false;
};
std::variant<NoteWord, std::string> parseNoteWord(const std::string& word, bool drums);

// Expands "[ ... ]*N" groups (nesting allowed) into plain words; answers the problem as text when unbalanced.
std::variant<std::vector<std::string>, std::string> expandRepeats(const std::string& line);

}  // namespace moonbrook::tools
