#pragma once

#include <memory>
#include <nlohmann/json.hpp>

#include "engine/core/KTScene.h"

namespace moonbrook {

class Board;

// The board inside the scene's tree (the first one found depth first), or none.
std::shared_ptr<Board> findBoard(const kt::KTNode& root);

// The board's state as the automation interface reports it: level, score, play time, counters, click mode,
// selection, and one entry per grid place that holds a cell (emitters included).
nlohmann::json describeBoard(const Board& board);

}  // namespace moonbrook
