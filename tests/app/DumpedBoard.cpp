#include "tests/app/DumpedBoard.h"

#include <algorithm>

namespace moonbrook::test {
namespace {

constexpr int kSizeX = 20;
constexpr int kSizeY = 13;

bool isOrdinary(char letter) {
    return letter >= 'a' && letter <= 'e';
}

}  // namespace

DumpedBoard::DumpedBoard(const nlohmann::json& dump) : json_(dump) {
    for (const auto& cell : json_["cells"]) {
        Place place;
        if (cell["ball"].is_string()) place.ball = cell["ball"].get<std::string>().at(0);
        place.emitter = cell["emitter"].get<bool>();
        place.crate = cell["crate_level"].get<int>() > 0;
        place.plates = cell["plates"].get<int>();
        place.movable =
            !place.emitter && !place.crate && !cell["locked"].get<bool>() && place.ball && *place.ball != '0';
        places_[{cell["x"].get<int>(), cell["y"].get<int>()}] = place;
    }
}

const DumpedBoard::Place* DumpedBoard::place(int x, int y) const {
    const auto found = places_.find({x, y});
    return found == places_.end() ? nullptr : &found->second;
}

std::optional<char> DumpedBoard::ball(int x, int y) const {
    const Place* at = place(x, y);
    if (!at || at->emitter) return std::nullopt;
    return at->ball;
}

std::optional<char> DumpedBoard::ordinaryAt(int x, int y) const {
    const std::optional<char> letter = ball(x, y);
    return letter && isOrdinary(*letter) ? letter : std::nullopt;
}

int DumpedBoard::plates(int x, int y) const {
    const Place* at = place(x, y);
    return at ? at->plates : 0;
}

int DumpedBoard::ballCount() const {
    int count = 0;
    for (const auto& [position, at] : places_)
        count += !at.emitter && at.ball && *at.ball != '0' ? 1 : 0;
    return count;
}

std::vector<std::string> DumpedBoard::linesOfThree() const {
    std::vector<std::string> found;
    for (int y = 0; y < kSizeY; ++y) {
        for (int x = 0; x < kSizeX; ++x) {
            const std::optional<char> first = ordinaryAt(x, y);
            if (!first) continue;
            if (ordinaryAt(x + 1, y) == first && ordinaryAt(x + 2, y) == first)
                found.push_back(std::to_string(x) + "," + std::to_string(y) + " right");
            if (ordinaryAt(x, y + 1) == first && ordinaryAt(x, y + 2) == first)
                found.push_back(std::to_string(x) + "," + std::to_string(y) + " down");
        }
    }
    return found;
}

std::vector<std::string> DumpedBoard::emptyCellsBelowEmitters() const {
    std::vector<std::string> empty;
    for (int x = 0; x < kSizeX; ++x) {
        bool fed = false;
        for (int y = 0; y < kSizeY; ++y) {
            const Place* at = place(x, y);
            if (!at) continue;
            fed = fed || at->emitter;
            if (fed && !at->emitter && !at->crate && (!at->ball || *at->ball == '0'))
                empty.push_back(std::to_string(x) + "," + std::to_string(y));
        }
    }
    return empty;
}

int DumpedBoard::longestRunThrough(int x, int y, char letter) const {
    int longest = 0;
    for (const auto& [dx, dy] : {std::pair{1, 0}, std::pair{0, 1}}) {
        int run = 1;
        for (int i = 1; ordinaryAt(x + i * dx, y + i * dy) == letter; ++i)
            ++run;
        for (int i = 1; ordinaryAt(x - i * dx, y - i * dy) == letter; ++i)
            ++run;
        longest = std::max(longest, run);
    }
    return longest;
}

std::vector<Swap> DumpedBoard::swapsMakingLines() const {
    std::vector<Swap> swaps;
    for (const auto& [position, at] : places_) {
        const auto [x, y] = position;
        for (const auto& [dx, dy] : {std::pair{1, 0}, std::pair{0, 1}}) {
            const Place* other = place(x + dx, y + dy);
            if (!at.movable || !other || !other->movable || *at.ball == *other->ball) continue;
            // The board with the two balls exchanged.
            DumpedBoard swapped = *this;
            std::swap(swapped.places_[{x, y}].ball, swapped.places_[{x + dx, y + dy}].ball);
            const bool line =
                (isOrdinary(*other->ball) && swapped.longestRunThrough(x, y, *other->ball) >= 3) ||
                (isOrdinary(*at.ball) && swapped.longestRunThrough(x + dx, y + dy, *at.ball) >= 3);
            if (line) swaps.push_back({x, y, dx, dy});
        }
    }
    return swaps;
}

}  // namespace moonbrook::test
