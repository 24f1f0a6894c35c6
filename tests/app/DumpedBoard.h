#pragma once

#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace moonbrook::test {

// A swap of the ball in (x, y) with its neighbour (x + dx, y + dy).
struct Swap {
    int x = 0;
    int y = 0;
    int dx = 0;
    int dy = 0;
};

// The board as "dump board" wrote it, with the checks a player would make by eye.
class DumpedBoard {
public:
    explicit DumpedBoard(const nlohmann::json& dump);

    const nlohmann::json& json() const { return json_; }
    int score() const { return json_["score"].get<int>(); }
    int platesCount() const { return json_["plates_count"].get<int>(); }
    // Letters of the balls resting in cells; none where a cell has no ball or there is no cell.
    std::optional<char> ball(int x, int y) const;
    int ballCount() const;
    int plates(int x, int y) const;

    // Runs of three equal ordinary balls ("x,y right" or "x,y down" at the first ball).
    std::vector<std::string> linesOfThree() const;
    // Crate-free cells below an emitter without a ball ("x,y").
    std::vector<std::string> emptyCellsBelowEmitters() const;
    // Swaps of two movable neighbours after which an ordinary line of three or more goes through one of them;
    // each pair once.
    std::vector<Swap> swapsMakingLines() const;
    // The longest run through (x, y) along a row or a column if (x, y) held that letter.
    int longestRunThrough(int x, int y, char letter) const;

private:
    struct Place {
        std::optional<char> ball;
        bool movable = false;
        bool emitter = false;
        bool crate = false;
        int plates = 0;
    };
    const Place* place(int x, int y) const;
    std::optional<char> ordinaryAt(int x, int y) const;

    nlohmann::json json_;
    std::map<std::pair<int, int>, Place> places_;
};

}  // namespace moonbrook::test
