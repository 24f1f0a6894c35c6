#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/KTRandom.h"
#include "game/board/Board.h"

namespace moonbrook::levelcheck {

// Every swap of two neighbouring balls that the board would play (its own judgement of a swap), column by
// column. None means the settled board has no possible move.
std::vector<Turn> validSwaps(Board& board);

// Starts a swap as a player's click on one ball and then its neighbour does.
void playSwap(Board& board, const Turn& swap);

// Progress towards the level's goals: plates cleared, tokens and diamonds brought down, requests served,
// then score. Bigger is better.
double immediateValue(Board& board, const Turn& swap);

// Uses a charged powerup when its rule finds a use: bonuses and bats at once, the hammer on the cell with
// the most plates (any ball when the board has no move), the colour removal on the colour that covers the
// most plated cells (the most cells once the plates are gone). True when one was used.
bool usePowerup(Board& board, bool stuck);

// Chooses the next swap on a settled board.
class Bot {
public:
    virtual ~Bot() = default;
    // One of the swaps, which are not empty; ties are broken with the run's own generator.
    virtual Turn chooseSwap(Board& board, const std::vector<Turn>& swaps, kt::KTRandom& tieBreak) = 0;
};

// "random", "greedy" or "lookahead"; none for another name.
std::unique_ptr<Bot> makeBot(std::string_view name);
const std::vector<std::string>& botNames();

}  // namespace moonbrook::levelcheck
