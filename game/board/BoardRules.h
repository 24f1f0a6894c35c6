#pragma once

#include <vector>

namespace moonbrook {

// The numbers and tables of the board's rules, in one place so that the board, its balls, the hint search
// and the level-check bots read the same ones.

// Fewest balls in a line that is removed.
inline constexpr unsigned kMinLine = 3;
inline constexpr unsigned kPointsPerBall = 10;
// A bat or a bonus ball takes this long to arrive when no effect shows its flight.
inline constexpr float kPowerupFlightTime = 1.0f;

// A colour removal's bolt jumps on to the next ball after the first delay; each ball goes the second delay
// after its bolt has reached it.
inline constexpr float kLightningJumpDelay = 0.07f;
inline constexpr float kLightningRemoveDelay = 0.3f;

// What a ball letter makes: 'a' to 'e' ordinary colours, '0' the placeholder of an emptied cell.
enum class BallKind { ordinary, ghost, bomb, hameleon, rocket, colorDestroyer, diamond, token };
BallKind ballKindOf(char16_t letter);

// Points a diamond is worth when collected; 0 for other letters.
unsigned diamondValue(char16_t letter);

// A cell offset from the centre of a shape.
struct Offset {
    int dx;
    int dy;
};
using Shape = std::vector<Offset>;

// The cells a bomb of that letter ('f', 'g', 'h') removes around its own, the centre excluded.
Shape explosionShape(char16_t letter);
// The cells a hammer of that level hits, the clicked one included; none below level 1.
Shape hammerShape(int level);
// The directions a rocket ball of that letter fires ('j' right, 'k' left, 'l' down and up, 'm' diagonals).
Shape rocketDirections(char16_t letter);
// The colour removal level of a colour destroyer letter ('n' 1, 'o' 2, 'p' 3).
int colorDestroyerLevel(char16_t letter);

}  // namespace moonbrook
