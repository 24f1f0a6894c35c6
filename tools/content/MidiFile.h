#pragma once

#include <cstdint>
#include <vector>

#include "tools/content/MusicScore.h"

namespace moonbrook::tools {

// A Standard MIDI File (format 0, one track) of the score played once, its end-of-track event placed
// `tailTicks` after the loop so that a renderer lets the last notes and the reverb ring out. Each voice gets
// its own channel (drum voices share the percussion channel, set up by the first of them); answers an empty
// file when the voices do not fit the 15 melodic channels.
std::vector<std::uint8_t> midiFileBytes(const Score& score, std::int64_t tailTicks);

// The variable-length number of MIDI delta times: seven bits a byte, most significant first.
std::vector<std::uint8_t> midiVariableLength(std::uint32_t value);

}  // namespace moonbrook::tools
