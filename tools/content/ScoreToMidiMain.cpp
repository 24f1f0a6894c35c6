// score_to_midi SCORE OUT.mid
// Writes the score, played once, as a MIDI file whose end lies a few seconds after the loop so the renderer
// lets the last notes ring out, and prints the loop's length in samples at 44.1 kHz: the renderer folds
// everything after that point back onto the start, which makes the loop seamless.
#include <fstream>
#include <iostream>
#include <sstream>

#include "tools/content/MidiFile.h"
#include "tools/content/MusicScore.h"

namespace {

constexpr int kSampleRate = 44100;
constexpr double kTailSeconds = 6.0;

}  // namespace

int main(int argc, char** argv) {
    using namespace moonbrook::tools;
    if (argc != 3) {
        std::cerr << "usage: score_to_midi SCORE OUT.mid\n";
        return 2;
    }
    std::ifstream input(argv[1]);
    if (!input) {
        std::cerr << "score_to_midi: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::ostringstream text;
    text << input.rdbuf();
    const auto parsed = parseScore(text.str());
    if (const auto* error = std::get_if<ScoreError>(&parsed)) {
        std::cerr << argv[1] << ":" << error->line << ": " << error->message << "\n";
        return 1;
    }
    const Score& score = std::get<Score>(parsed);
    const auto tailTicks =
        static_cast<std::int64_t>(kTailSeconds * 1e6 / score.microsecondsPerBeat() * kTicksPerBeat);
    const auto bytes = midiFileBytes(score, tailTicks);
    if (bytes.empty()) {
        std::cerr << argv[1] << ": more than 15 melodic voices\n";
        return 1;
    }
    std::ofstream output(argv[2], std::ios::binary);
    output.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!output) {
        std::cerr << "score_to_midi: cannot write " << argv[2] << "\n";
        return 1;
    }
    std::cout << score.loopSamples(kSampleRate) << "\n";
    return 0;
}
