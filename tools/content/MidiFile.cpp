#include "tools/content/MidiFile.h"

#include <algorithm>
#include <tuple>

namespace moonbrook::tools {

namespace {

constexpr int kPercussionChannel = 9;
constexpr int kChannels = 16;

// Order of events at the same tick: notes end before settings change and before new notes start, so a
// repeated key is released and struck again rather than cut off.
enum class EventOrder { NoteOff, Setup, NoteOn };

struct MidiEvent {
    std::int64_t tick;
    EventOrder order;
    std::vector<std::uint8_t> bytes;
};

void appendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int byteCount) {
    for (int shift = 8 * (byteCount - 1); shift >= 0; shift -= 8)
        out.push_back((value >> shift) & 0xff);
}

std::uint8_t statusByte(int status, int channel) {
    return static_cast<std::uint8_t>(status | channel);
}

// Channels for the voices: drums on the percussion channel, the others in order around it.
std::vector<int> voiceChannels(const Score& score) {
    std::vector<int> channels;
    int next = 0;
    for (const ScoreVoice& voice : score.voices) {
        if (voice.drums) {
            channels.push_back(kPercussionChannel);
            continue;
        }
        if (next == kPercussionChannel) ++next;
        channels.push_back(next++);
    }
    return next > kChannels ? std::vector<int>() : channels;
}

void addSetup(std::vector<MidiEvent>& events, const ScoreVoice& voice, int channel) {
    auto setup = [&](std::vector<std::uint8_t> bytes) {
        events.push_back({0, EventOrder::Setup, std::move(bytes)});
    };
    const auto control = [&](int controller, int value) {
        setup({statusByte(0xb0, channel), static_cast<std::uint8_t>(controller),
               static_cast<std::uint8_t>(value)});
    };
    setup({statusByte(0xc0, channel), static_cast<std::uint8_t>(voice.program)});
    control(7, voice.volume);
    control(10, voice.pan);
    control(91, voice.reverb);
    control(93, 0);  // no chorus: its sweep would not match across the loop's seam
}

std::vector<MidiEvent> scoreEvents(const Score& score, const std::vector<int>& channels) {
    std::vector<MidiEvent> events;
    const std::uint32_t tempo = static_cast<std::uint32_t>(score.microsecondsPerBeat());
    events.push_back({0,
                      EventOrder::Setup,
                      {0xff, 0x51, 0x03, static_cast<std::uint8_t>(tempo >> 16),
                       static_cast<std::uint8_t>(tempo >> 8), static_cast<std::uint8_t>(tempo)}});
    events.push_back(
        {0, EventOrder::Setup, {0xff, 0x58, 0x04, static_cast<std::uint8_t>(score.beatsPerBar), 2, 24, 8}});
    std::vector<bool> channelSetUp(kChannels, false);
    for (std::size_t voice = 0; voice < score.voices.size(); ++voice) {
        if (channelSetUp[channels[voice]]) continue;
        channelSetUp[channels[voice]] = true;
        addSetup(events, score.voices[voice], channels[voice]);
    }
    for (const ScoreNote& note : score.notes) {
        const int channel = channels[note.voice];
        const auto key = static_cast<std::uint8_t>(note.key);
        events.push_back({note.startTick,
                          EventOrder::NoteOn,
                          {statusByte(0x90, channel), key, static_cast<std::uint8_t>(note.velocity)}});
        events.push_back({note.startTick + note.soundingTicks(),
                          EventOrder::NoteOff,
                          {statusByte(0x80, channel), key, 0}});
    }
    std::stable_sort(events.begin(), events.end(), [](const MidiEvent& a, const MidiEvent& b) {
        return std::tie(a.tick, a.order) < std::tie(b.tick, b.order);
    });
    return events;
}

}  // namespace

std::vector<std::uint8_t> midiVariableLength(std::uint32_t value) {
    std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(value & 0x7f)};
    while (value >>= 7)
        bytes.insert(bytes.begin(), static_cast<std::uint8_t>(0x80 | (value & 0x7f)));
    return bytes;
}

std::vector<std::uint8_t> midiFileBytes(const Score& score, std::int64_t tailTicks) {
    const std::vector<int> channels = voiceChannels(score);
    if (channels.size() != score.voices.size()) return {};
    std::vector<std::uint8_t> track;
    std::int64_t now = 0;
    const auto append = [&](std::int64_t tick, const std::vector<std::uint8_t>& bytes) {
        const auto delta = midiVariableLength(static_cast<std::uint32_t>(tick - now));
        track.insert(track.end(), delta.begin(), delta.end());
        track.insert(track.end(), bytes.begin(), bytes.end());
        now = tick;
    };
    for (const MidiEvent& event : scoreEvents(score, channels))
        append(event.tick, event.bytes);
    append(std::max(now, score.loopTicks + tailTicks), {0xff, 0x2f, 0x00});

    std::vector<std::uint8_t> file{'M', 'T', 'h', 'd'};
    appendBigEndian(file, 6, 4);
    appendBigEndian(file, 0, 2);  // format 0
    appendBigEndian(file, 1, 2);  // one track
    appendBigEndian(file, static_cast<std::uint32_t>(kTicksPerBeat), 2);
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    appendBigEndian(file, static_cast<std::uint32_t>(track.size()), 4);
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

}  // namespace moonbrook::tools
