#include "tools/content/MusicScore.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>
#include <sstream>

namespace moonbrook::tools {

namespace {

constexpr double kStaccatoGate = 0.45;
constexpr int kAccentBoost = 16;
constexpr int kBarStartBoost = 8;
constexpr int kBeatStartBoost = 4;

// General MIDI programs under the names scores use.
const std::map<std::string, int>& instrumentPrograms() {
    static const std::map<std::string, int> programs{
        {"piano", 0},         {"bright-piano", 1},     {"electric-piano", 4}, {"harpsichord", 6},
        {"clavinet", 7},      {"celesta", 8},          {"glockenspiel", 9},   {"music-box", 10},
        {"vibraphone", 11},   {"marimba", 12},         {"xylophone", 13},     {"tubular-bells", 14},
        {"dulcimer", 15},     {"organ", 19},           {"reed-organ", 20},    {"accordion", 21},
        {"nylon-guitar", 24}, {"muted-guitar", 28},    {"acoustic-bass", 32}, {"finger-bass", 33},
        {"slap-bass", 36},    {"violin", 40},          {"viola", 41},         {"cello", 42},
        {"contrabass", 43},   {"tremolo-strings", 44}, {"pizzicato", 45},     {"harp", 46},
        {"timpani", 47},      {"strings", 48},         {"slow-strings", 49},  {"choir", 52},
        {"voice-oohs", 53},   {"synth-voice", 54},     {"trumpet", 56},       {"trombone", 57},
        {"tuba", 58},         {"muted-trumpet", 59},   {"french-horn", 60},   {"brass", 61},
        {"alto-sax", 65},     {"tenor-sax", 66},       {"baritone-sax", 67},  {"oboe", 68},
        {"english-horn", 69}, {"bassoon", 70},         {"clarinet", 71},      {"piccolo", 72},
        {"flute", 73},        {"recorder", 74},        {"pan-flute", 75},     {"whistle", 78},
        {"ocarina", 79},      {"square-lead", 80},     {"calliope", 82},      {"warm-pad", 89},
        {"choir-pad", 91},    {"halo-pad", 94},        {"sweep-pad", 95},     {"crystal", 98},
        {"atmosphere", 99},   {"goblins", 101},        {"banjo", 105},        {"kalimba", 108},
        {"steel-drums", 114}, {"woodblock", 115},      {"taiko", 116},
    };
    return programs;
}

// Drum kits, played on the percussion channel.
const std::map<std::string, int>& drumKits() {
    static const std::map<std::string, int> kits{
        {"drums", 0}, {"room-drums", 8}, {"jazz-drums", 32}, {"brush-drums", 40}, {"orchestra-drums", 48}};
    return kits;
}

// General MIDI percussion keys under short names.
const std::map<std::string, int>& drumStrokes() {
    static const std::map<std::string, int> strokes{
        {"kick", 36},          {"rim", 37},        {"snare", 38},     {"clap", 39},       {"tom-low", 45},
        {"hat", 42},           {"pedal-hat", 44},  {"open-hat", 46},  {"tom-mid", 47},    {"tom-high", 50},
        {"crash", 49},         {"ride", 51},       {"ride-bell", 53}, {"tambourine", 54}, {"splash", 55},
        {"cowbell", 56},       {"bongo-high", 60}, {"bongo-low", 61}, {"conga", 63},      {"timbale", 65},
        {"agogo", 67},         {"cabasa", 69},     {"shaker", 70},    {"whistle", 72},    {"guiro", 74},
        {"claves", 75},        {"block-high", 76}, {"block-low", 77}, {"cuica", 79},      {"triangle", 81},
        {"triangle-mute", 80},
    };
    return strokes;
}

const std::map<std::string, int>& dynamics() {
    static const std::map<std::string, int> levels{{"pp", 45}, {"p", 58},  {"mp", 72},
                                                   {"mf", 86}, {"f", 100}, {"ff", 114}};
    return levels;
}

std::optional<int> parseInteger(const std::string& text) {
    if (text.empty()) return std::nullopt;
    std::size_t used = 0;
    try {
        const int value = std::stoi(text, &used);
        if (used == text.size()) return value;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

// "C4", "F#3", "Bb5", "C-1" -> MIDI key (C4 = 60).
std::optional<int> parsePitch(const std::string& text) {
    static const std::string letters = "CDEFGAB";
    static const int steps[] = {0, 2, 4, 5, 7, 9, 11};
    if (text.size() < 2) return std::nullopt;
    const std::size_t letter = letters.find(text[0]);
    if (letter == std::string::npos) return std::nullopt;
    int key = steps[letter];
    std::size_t at = 1;
    if (text[at] == '#') {
        ++key;
        ++at;
    } else if (text[at] == 'b') {
        --key;
        ++at;
    }
    const auto octave = parseInteger(text.substr(at));
    if (!octave) return std::nullopt;
    key += 12 * (*octave + 1);
    if (key < 0 || key > 127) return std::nullopt;
    return key;
}

std::optional<int> parseKey(const std::string& text, bool drums) {
    if (drums) {
        const auto stroke = drumStrokes().find(text);
        if (stroke != drumStrokes().end()) return stroke->second;
    }
    return parsePitch(text);
}

// A length in beats, "2", "0.5", "1/3", "1.5/2", as ticks; none unless it is a positive whole number of
// ticks.
std::optional<std::int64_t> parseLength(const std::string& text) {
    const std::size_t slash = text.find('/');
    const std::string numberText = text.substr(0, slash);
    std::int64_t denominator = 1;
    if (slash != std::string::npos) {
        const auto divisor = parseInteger(text.substr(slash + 1));
        if (!divisor || *divisor <= 0) return std::nullopt;
        denominator = *divisor;
    }
    const std::size_t point = numberText.find('.');
    std::string digits = numberText;
    if (point != std::string::npos) {
        digits.erase(point, 1);
        for (std::size_t i = point; i < numberText.size() - 1; ++i)
            denominator *= 10;
    }
    if (digits.empty() || digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), ::isdigit))
        return std::nullopt;
    const std::int64_t numerator = std::stoll(digits) * kTicksPerBeat;
    if (numerator == 0 || numerator % denominator != 0) return std::nullopt;
    return numerator / denominator;
}

std::vector<std::string> splitWords(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;)
        words.push_back(word);
    return words;
}

// Separates "[" and "]*N" from the words they touch.
std::vector<std::string> repeatTokens(const std::string& line) {
    std::string spaced;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '[') {
            spaced += " [ ";
        } else if (line[i] == ']') {
            spaced += " ]";
            while (i + 1 < line.size() && !std::isspace(static_cast<unsigned char>(line[i + 1])) &&
                   line[i + 1] != '[' && line[i + 1] != ']')
                spaced += line[++i];
            spaced += ' ';
        } else {
            spaced += line[i];
        }
    }
    return splitWords(spaced);
}

struct VoiceState {
    std::int64_t position = 0;
    std::int64_t lastTicks = kTicksPerBeat;
    int velocity = 86;
    std::map<int, std::size_t> tied;  // key -> index of the note a tie holds open
};

struct Section {
    std::vector<ScoreNote> notes;  // times from the section's start
    std::int64_t length = 0;
    bool finished = false;
};

class ScoreReader {
public:
    std::variant<Score, ScoreError> read(const std::string& text) {
        std::istringstream lines(text);
        std::string line;
        while (std::getline(lines, line)) {
            ++lineNumber_;
            const auto words = splitWords(line);
            if (words.empty() || words[0][0] == '#') continue;
            if (auto problem = readLine(words, line)) return ScoreError{lineNumber_, *problem};
        }
        if (auto problem = finishSection()) return ScoreError{lineNumber_, *problem};
        if (auto problem = arrange()) return ScoreError{lineNumber_, *problem};
        return std::move(score_);
    }

private:
    using Problem = std::optional<std::string>;

    Problem readLine(const std::vector<std::string>& words, const std::string& line) {
        const std::string& head = words[0];
        if (head.back() == ':') return readVoiceLine(head.substr(0, head.size() - 1), line);
        if (head == "tempo") return readNumber(words, score_.beatsPerMinute, 20, 400);
        if (head == "bar") return readNumber(words, score_.beatsPerBar, 1, 16);
        if (head == "voice") return readVoice(words);
        if (head == "section") return startSection(words);
        if (head == "play") {
            if (auto problem = finishSection()) return problem;
            playList_.insert(playList_.end(), words.begin() + 1, words.end());
            return std::nullopt;
        }
        return "unknown line \"" + head + "\"";
    }

    Problem readNumber(const std::vector<std::string>& words, int& target, int low, int high) {
        const auto value = words.size() == 2 ? parseInteger(words[1]) : std::nullopt;
        if (!value || *value < low || *value > high)
            return words[0] + " needs one whole number from " + std::to_string(low) + " to " +
                   std::to_string(high);
        target = *value;
        return std::nullopt;
    }

    Problem readVoice(const std::vector<std::string>& words) {
        if (words.size() < 3 || words.size() % 2 == 0)
            return "voice needs a name, an instrument and option pairs";
        ScoreVoice voice;
        voice.name = words[1];
        if (voiceIndex_.contains(voice.name)) return "voice " + voice.name + " is declared twice";
        if (const auto kit = drumKits().find(words[2]); kit != drumKits().end()) {
            voice.drums = true;
            voice.program = kit->second;
        } else if (const auto program = instrumentPrograms().find(words[2]);
                   program != instrumentPrograms().end()) {
            voice.program = program->second;
        } else {
            return "unknown instrument \"" + words[2] + "\"";
        }
        for (std::size_t i = 3; i < words.size(); i += 2)
            if (auto problem = readVoiceOption(voice, words[i], words[i + 1])) return problem;
        voiceIndex_[voice.name] = static_cast<int>(score_.voices.size());
        score_.voices.push_back(voice);
        return std::nullopt;
    }

    static Problem readVoiceOption(ScoreVoice& voice, const std::string& option, const std::string& value) {
        if (option == "gate") {
            voice.gate = std::atof(value.c_str());
            if (voice.gate > 0.0 && voice.gate <= 1.0) return std::nullopt;
            return "gate must lie above 0 and at most 1";
        }
        int* target = option == "volume"   ? &voice.volume
                      : option == "pan"    ? &voice.pan
                      : option == "reverb" ? &voice.reverb
                                           : nullptr;
        if (!target) return "unknown voice option \"" + option + "\"";
        const auto number = parseInteger(value);
        if (!number || *number < 0 || *number > 127) return option + " must be a whole number from 0 to 127";
        *target = *number;
        return std::nullopt;
    }

    Problem startSection(const std::vector<std::string>& words) {
        if (auto problem = finishSection()) return problem;
        if (words.size() != 2) return "section needs one name";
        if (sections_.contains(words[1])) return "section " + words[1] + " is defined twice";
        current_ = words[1];
        sections_[current_];
        states_.clear();
        return std::nullopt;
    }

    // Every voice that plays in a section fills it to the same length, a whole number of bars.
    Problem finishSection() {
        if (current_.empty()) return std::nullopt;
        Section& section = sections_[current_];
        const std::string name = current_;
        current_.clear();
        section.finished = true;
        for (const auto& [voice, state] : states_)
            section.length = std::max(section.length, state.position);
        for (const auto& [voice, state] : states_)
            if (state.position != section.length)
                return "in section " + name + ", voice " + score_.voices[voice].name + " lasts " +
                       beats(state.position) + " beats, the longest voice " + beats(section.length);
        const std::int64_t bar = kTicksPerBeat * score_.beatsPerBar;
        if (section.length == 0) return "section " + name + " has no notes";
        if (section.length % bar != 0)
            return "section " + name + " lasts " + beats(section.length) + " beats, not whole bars of " +
                   std::to_string(score_.beatsPerBar);
        return std::nullopt;
    }

    static std::string beats(std::int64_t ticks) {
        std::ostringstream text;
        text << static_cast<double>(ticks) / kTicksPerBeat;
        return text.str();
    }

    Problem readVoiceLine(const std::string& voiceName, const std::string& line) {
        if (current_.empty()) return "notes for " + voiceName + " outside a section";
        const auto voice = voiceIndex_.find(voiceName);
        if (voice == voiceIndex_.end()) return "unknown voice \"" + voiceName + "\"";
        auto words = expandRepeats(line.substr(line.find(':') + 1));
        if (const auto* problem = std::get_if<std::string>(&words)) return *problem;
        for (const std::string& word : std::get<std::vector<std::string>>(words))
            if (auto problem = readWord(voice->second, word)) return problem;
        return std::nullopt;
    }

    Problem readWord(int voice, const std::string& word) {
        VoiceState& state = states_[voice];
        if (word == "|") {
            if (state.position % (kTicksPerBeat * score_.beatsPerBar) == 0) return std::nullopt;
            return "bar line after " + beats(state.position) + " beats of " + score_.voices[voice].name +
                   ", not at the end of a bar";
        }
        if (const auto level = dynamics().find(word); level != dynamics().end()) {
            state.velocity = level->second;
            return std::nullopt;
        }
        const auto parsed = parseNoteWord(word, score_.voices[voice].drums);
        if (const auto* problem = std::get_if<std::string>(&parsed)) return *problem;
        addNotes(voice, std::get<NoteWord>(parsed));
        return std::nullopt;
    }

    void addNotes(int voice, const NoteWord& word) {
        VoiceState& state = states_[voice];
        if (word.ticks > 0) state.lastTicks = word.ticks;
        std::vector<ScoreNote>& notes = sections_[current_].notes;
        std::map<int, std::size_t> tied;
        for (const int key : word.keys) {
            std::size_t index;
            if (const auto held = state.tied.find(key); held != state.tied.end()) {
                index = held->second;
                notes[index].lengthTicks += state.lastTicks;
            } else {
                index = notes.size();
                notes.push_back({voice, key, velocityAt(state, word.accent), state.position, state.lastTicks,
                                 score_.voices[voice].gate});
            }
            if (word.staccato) notes[index].gate = kStaccatoGate;
            if (word.tie) tied[key] = index;
        }
        state.tied = std::move(tied);
        state.position += state.lastTicks;
    }

    int velocityAt(const VoiceState& state, bool accent) const {
        int velocity = state.velocity + (accent ? kAccentBoost : 0);
        if (state.position % (kTicksPerBeat * score_.beatsPerBar) == 0)
            velocity += kBarStartBoost;
        else if (state.position % kTicksPerBeat == 0)
            velocity += kBeatStartBoost;
        return std::clamp(velocity, 1, 127);
    }

    // Lays the sections end to end in play order; "NAME+N" / "NAME-N" plays a section N semitones higher or
    // lower (drums stay as written).
    Problem arrange() {
        if (playList_.empty()) return "no play line";
        for (const std::string& entry : playList_) {
            const std::size_t sign = entry.find_first_of("+-");
            const std::string name = entry.substr(0, sign);
            const auto transpose =
                sign == std::string::npos ? std::optional<int>(0) : parseInteger(entry.substr(sign));
            const auto section = sections_.find(name);
            if (section == sections_.end()) return "play names unknown section \"" + name + "\"";
            if (!transpose) return "bad transposition in \"" + entry + "\"";
            for (ScoreNote note : section->second.notes) {
                note.startTick += score_.loopTicks;
                if (!score_.voices[note.voice].drums) note.key += *transpose;
                if (note.key < 0 || note.key > 127) return "\"" + entry + "\" moves a note out of range";
                score_.notes.push_back(note);
            }
            score_.loopTicks += section->second.length;
        }
        return std::nullopt;
    }

    Score score_;
    std::map<std::string, int> voiceIndex_;
    std::map<std::string, Section> sections_;
    std::map<int, VoiceState> states_;
    std::string current_;
    std::vector<std::string> playList_;
    int lineNumber_ = 0;
};

}  // namespace

std::int64_t ScoreNote::soundingTicks() const {
    return std::max<std::int64_t>(1, std::llround(static_cast<double>(lengthTicks) * gate));
}

std::int64_t Score::microsecondsPerBeat() const {
    return std::llround(60'000'000.0 / beatsPerMinute);
}

std::int64_t Score::loopSamples(int sampleRate) const {
    const std::int64_t scaled = loopTicks * microsecondsPerBeat() * sampleRate;
    const std::int64_t divisor = kTicksPerBeat * 1'000'000;
    return (scaled + divisor / 2) / divisor;
}

std::variant<NoteWord, std::string> parseNoteWord(const std::string& word, bool drums) {
    NoteWord note;
    std::string body = word;
    while (!body.empty() && std::string(">'~").find(body.back()) != std::string::npos) {
        note.accent |= body.back() == '>';
        note.staccato |= body.back() == '\'';
        note.tie |= body.back() == '~';
        body.pop_back();
    }
    const std::size_t slash = body.find('/');
    if (slash != std::string::npos) {
        const auto ticks = parseLength(body.substr(slash + 1));
        if (!ticks) return "\"" + word + "\": the length must be a positive number of beats in 960ths";
        note.ticks = *ticks;
        body.resize(slash);
    }
    if (body == "r") return note;
    std::size_t start = 0;
    while (start <= body.size()) {
        const std::size_t plus = std::min(body.find('+', start), body.size());
        const auto key = parseKey(body.substr(start, plus - start), drums);
        if (!key) return "\"" + word + "\" is not a note";
        note.keys.push_back(*key);
        start = plus + 1;
    }
    return note;
}

std::variant<std::vector<std::string>, std::string> expandRepeats(const std::string& line) {
    std::vector<std::vector<std::string>> groups(1);
    for (const std::string& token : repeatTokens(line)) {
        if (token == "[") {
            groups.emplace_back();
        } else if (token[0] == ']') {
            const int count =
                token.size() > 2 && token[1] == '*' ? parseInteger(token.substr(2)).value_or(0) : 0;
            if (groups.size() < 2) return std::string("\"]\" without \"[\"");
            if (count < 1) return "\"" + token + "\" must be \"]*N\" with N at least 1";
            const std::vector<std::string> group = std::move(groups.back());
            groups.pop_back();
            for (int i = 0; i < count; ++i)
                groups.back().insert(groups.back().end(), group.begin(), group.end());
        } else {
            groups.back().push_back(token);
        }
    }
    if (groups.size() != 1) return std::string("\"[\" without \"]*N\"");
    return groups[0];
}

std::variant<Score, ScoreError> parseScore(const std::string& text) {
    return ScoreReader().read(text);
}

}  // namespace moonbrook::tools
