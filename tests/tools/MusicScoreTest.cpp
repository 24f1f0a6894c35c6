#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "tools/content/MidiFile.h"
#include "tools/content/MusicScore.h"

namespace moonbrook::tools {
namespace {

NoteWord note(const std::string& word, bool drums = false) {
    const auto parsed = parseNoteWord(word, drums);
    if (const auto* problem = std::get_if<std::string>(&parsed)) ADD_FAILURE() << word << ": " << *problem;
    return std::get_if<NoteWord>(&parsed) ? std::get<NoteWord>(parsed) : NoteWord{};
}

Score score(const std::string& text) {
    const auto parsed = parseScore(text);
    if (const auto* error = std::get_if<ScoreError>(&parsed))
        ADD_FAILURE() << "line " << error->line << ": " << error->message;
    return std::get_if<Score>(&parsed) ? std::get<Score>(parsed) : Score{};
}

ScoreError scoreError(const std::string& text) {
    const auto parsed = parseScore(text);
    EXPECT_TRUE(std::holds_alternative<ScoreError>(parsed)) << text;
    return std::get_if<ScoreError>(&parsed) ? std::get<ScoreError>(parsed) : ScoreError{};
}

TEST(MusicScoreNotes, ReadPitchesChordsAndDrumStrokes) {
    const std::pair<const char*, std::vector<int>> pitches[] = {
        {"C4", {60}}, {"F#3", {54}}, {"Bb5", {82}}, {"C-1", {0}}, {"G9", {127}}, {"E4+G4+C5", {64, 67, 72}}};
    for (const auto& [word, keys] : pitches)
        EXPECT_EQ(note(word).keys, keys) << word;
    EXPECT_EQ(note("kick+hat", true).keys, (std::vector<int>{36, 42}));
    EXPECT_TRUE(note("r/2").keys.empty());
    for (const char* wrong : {"G#9", "H4", "C", "c4", "C4+", "kick", "C4++E4", "Cx4"})
        EXPECT_TRUE(std::holds_alternative<std::string>(parseNoteWord(wrong, false))) << wrong;
}

TEST(MusicScoreNotes, ReadLengthsAsWholeTicksOnly) {
    // No length: 0, and the voice's last length applies.
    const std::pair<const char*, int> lengths[] = {{"C4", 0},       {"C4/1", 960},   {"C4/0.5", 480},
                                                   {"C4/.25", 240}, {"C4/1/3", 320}, {"C4/1.5/2", 720},
                                                   {"r/12", 11520}};
    for (const auto& [word, ticks] : lengths)
        EXPECT_EQ(note(word).ticks, ticks) << word;
    for (const char* wrong : {"C4/0", "C4/0.333", "C4/1/0", "C4/", "C4/-1", "C4/1/7", "C4/a"})
        EXPECT_TRUE(std::holds_alternative<std::string>(parseNoteWord(wrong, false))) << wrong;
    const NoteWord marked = note("C4/2>'~");
    EXPECT_TRUE(marked.accent && marked.staccato && marked.tie);
    EXPECT_EQ(marked.ticks, 1920);
}

TEST(MusicScoreNotes, ExpandRepeatedGroupsIncludingNestedOnes) {
    using Words = std::vector<std::string>;
    EXPECT_EQ(std::get<Words>(expandRepeats("a [b c]*2 d")), (Words{"a", "b", "c", "b", "c", "d"}));
    EXPECT_EQ(std::get<Words>(expandRepeats("[a [b]*3]*2")), (Words{"a", "b", "b", "b", "a", "b", "b", "b"}));
    for (const char* wrong : {"[a b", "a]*2", "[a]", "[a]*0", "[a]*x"})
        EXPECT_TRUE(std::holds_alternative<std::string>(expandRepeats(wrong))) << wrong;
}

constexpr const char* kHeader = "tempo 120\nbar 4\nvoice lead celesta volume 90 gate 0.5\nvoice kit drums\n";

TEST(MusicScore, PlacesNotesWithCarriedLengthsTiesAndStaccato) {
    const Score piece = score(std::string(kHeader) +
                              "section A\n"
                              "# a comment line\n"
                              "lead: C5/0.5 D5 E5/1 G5/2~ |\n"
                              "lead: G5/2 A5/1' r/1 |\n"
                              "play A\n");
    ASSERT_EQ(piece.notes.size(), 5u);
    const std::vector<std::int64_t> starts{0, 480, 960, 1920, 6 * 960};
    for (std::size_t i = 0; i < starts.size(); ++i)
        EXPECT_EQ(piece.notes[i].startTick, starts[i]) << i;
    EXPECT_EQ(piece.notes[1].lengthTicks, 480);
    EXPECT_EQ(piece.notes[3].lengthTicks, 4 * 960);  // G5 tied over the bar line
    EXPECT_EQ(piece.notes[3].soundingTicks(), 2 * 960);
    EXPECT_EQ(piece.notes[4].soundingTicks(), 432);  // staccato
    EXPECT_EQ(piece.loopTicks, 2 * 4 * 960);
}

TEST(MusicScore, AccentsTheBarAndTheBeatAndFollowsDynamics) {
    const Score piece =
        score(std::string(kHeader) + "section A\nlead: p C5/0.5 D5 f E5 F5> [G5/0.5]*4 |\nplay A\n");
    ASSERT_GE(piece.notes.size(), 4u);
    EXPECT_EQ(piece.notes[0].velocity, 58 + 8);
    EXPECT_EQ(piece.notes[1].velocity, 58);
    EXPECT_EQ(piece.notes[2].velocity, 100 + 4);
    EXPECT_EQ(piece.notes[3].velocity, 100 + 16);
}

TEST(MusicScore, PlaysSectionsInOrderTransposedButDrumsStay) {
    const Score piece = score(std::string(kHeader) +
                              "section A\nlead: C5/4\nkit: kick/4\n"
                              "section B\nlead: E5/8\n"
                              "play A B A+2 A-12\n");
    ASSERT_EQ(piece.notes.size(), 7u);
    EXPECT_EQ(piece.loopTicks, 20 * 960);
    EXPECT_EQ(piece.notes[3].startTick, 12 * 960);
    EXPECT_EQ(piece.notes[3].key, 74);
    EXPECT_EQ(piece.notes[4].key, 36);
    EXPECT_EQ(piece.notes[5].key, 60);
    EXPECT_EQ(piece.notes[6].startTick, 16 * 960);
}

TEST(MusicScore, MeasuresTheLoopInSamplesFromTheStoredTempo) {
    Score piece;
    piece.loopTicks = 48 * kTicksPerBeat;
    piece.beatsPerMinute = 112;  // 535714 microseconds a beat
    EXPECT_EQ(piece.microsecondsPerBeat(), 535714);
    EXPECT_EQ(piece.loopSamples(44100), 1133999);  // 48 beats = 25.714272 s
}

TEST(MusicScore, ReportsMistakesWithTheirLine) {
    const std::string header(kHeader);
    struct Case {
        std::string text;
        int line;
        std::string words;
    };
    const Case cases[] = {
        {header + "section A\nlead: C5/4\nkit: kick/3\nplay A\n", 8, "lasts 3 beats"},
        {header + "section A\nlead: C5/3 | C5/1\n", 6, "bar line after 3 beats"},
        {header + "section A\nlead: C5/3\nplay A\n", 7, "not whole bars"},
        {header + "section A\nlead: C5/4\nplay A B\n", 7, "unknown section \"B\""},
        {header + "section A\nbass: C3/4\n", 6, "unknown voice"},
        {header + "lead: C5/4\n", 5, "outside a section"},
        {header + "voice lead harp\n", 5, "declared twice"},
        {header + "voice x kazoo\n", 5, "unknown instrument"},
        {header + "voice x harp volume 200\n", 5, "0 to 127"},
        {header + "section A\nlead: C5/4\nplay A+60\n", 7, "out of range"},
        {header + "section A\nlead: C5/4\n", 6, "no play line"},
    };
    for (const Case& wrong : cases) {
        const ScoreError error = scoreError(wrong.text);
        EXPECT_EQ(error.line, wrong.line) << wrong.text;
        EXPECT_NE(error.message.find(wrong.words), std::string::npos) << error.message;
    }
}

TEST(MidiFile, WritesVariableLengthNumbers) {
    using Bytes = std::vector<std::uint8_t>;
    EXPECT_EQ(midiVariableLength(0), Bytes{0x00});
    EXPECT_EQ(midiVariableLength(0x7f), Bytes{0x7f});
    EXPECT_EQ(midiVariableLength(0x80), (Bytes{0x81, 0x00}));
    EXPECT_EQ(midiVariableLength(0x3fff), (Bytes{0xff, 0x7f}));
    EXPECT_EQ(midiVariableLength(0x4000), (Bytes{0x81, 0x80, 0x00}));
    EXPECT_EQ(midiVariableLength(0x0fffffff), (Bytes{0xff, 0xff, 0xff, 0x7f}));
}

// Reads the track of a format-0 file back as (absolute tick, status, first data byte) triples.
struct ReadEvent {
    std::int64_t tick;
    int status;
    int data;
};

std::vector<ReadEvent> readTrack(const std::vector<std::uint8_t>& file) {
    std::vector<ReadEvent> events;
    std::size_t at = 22;  // header chunk (14 bytes) and track chunk header (8 bytes)
    std::int64_t tick = 0;
    while (at < file.size()) {
        std::uint32_t delta = 0;
        do
            delta = (delta << 7) | (file[at] & 0x7f);
        while (file[at++] & 0x80);
        tick += delta;
        const int status = file[at++];
        if (status == 0xff) {
            const int type = file[at++];
            events.push_back({tick, status, type});
            at += 1 + file[at];
        } else {
            events.push_back({tick, status, file[at]});
            at += (status & 0xf0) == 0xc0 ? 1 : 2;
        }
    }
    return events;
}

TEST(MidiFile, ReleasesARepeatedKeyBeforeStrikingItAgainAndEndsAfterTheTail) {
    const Score piece = score(
        "tempo 100\nbar 2\nvoice lead harp gate 1\nvoice kit drums\nvoice bells glockenspiel\n"
        "section A\nlead: C5/1 C5/1\nkit: snare/2\nbells: E6/2\nplay A\n");
    const auto file = midiFileBytes(piece, 5000);
    ASSERT_GT(file.size(), 22u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "MThd");
    EXPECT_EQ(file[12] << 8 | file[13], 960);
    const auto events = readTrack(file);
    std::vector<ReadEvent> leadKeys;
    for (const ReadEvent& event : events)
        if ((event.status & 0xef) == 0x80) leadKeys.push_back(event);
    ASSERT_EQ(leadKeys.size(), 4u);
    EXPECT_EQ(leadKeys[1].tick, 960);
    EXPECT_EQ(leadKeys[1].status, 0x80);  // the first C5 ends ...
    EXPECT_EQ(leadKeys[2].tick, 960);
    EXPECT_EQ(leadKeys[2].status, 0x90);  // ... before the second begins
    const auto onChannel = [&](int status) {
        return std::any_of(events.begin(), events.end(),
                           [&](const ReadEvent& e) { return e.status == status; });
    };
    EXPECT_TRUE(onChannel(0x99));  // the snare on the percussion channel
    EXPECT_TRUE(onChannel(0x91));  // the bells on the next melodic channel
    EXPECT_EQ(events.back().status, 0xff);
    EXPECT_EQ(events.back().data, 0x2f);
    EXPECT_EQ(events.back().tick, 2 * 960 + 5000);
}

TEST(MidiFile, RefusesMoreVoicesThanChannels) {
    Score piece;
    piece.voices.resize(15);
    EXPECT_FALSE(midiFileBytes(piece, 0).empty());
    piece.voices.resize(16);
    EXPECT_TRUE(midiFileBytes(piece, 0).empty());
}

}  // namespace
}  // namespace moonbrook::tools
