#pragma once

#include <string>

namespace moonbrook {

// The main menu's state after a won level: the map's first tutorials while the player is at the second or
// third level of all, the powerup shop when something there can be bought, the map otherwise.
std::string menuStateAfterWin();

}  // namespace moonbrook
