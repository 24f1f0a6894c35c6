#pragma once

namespace moonbrook {

// Geometry of the playing field: at most kSizeX x kSizeY cells of kCellW x kCellH pixels.
inline constexpr unsigned kSizeX = 20;
inline constexpr unsigned kSizeY = 13;
inline constexpr float kCellW = 46.0f;
inline constexpr float kCellH = 46.0f;

// Seconds.
inline constexpr float kSwitchTime = 0.25f;  // one swap move
inline constexpr float kFallTime = 0.1f;     // one fall step
inline constexpr float kGhostTime = 0.6f;    // life of the placeholder put into an emptied cell
inline constexpr float kHintTime = 10.0f;    // without a swap before a hint shows
inline constexpr float kRocketTick = 0.05f;  // rockets move one cell per tick
inline constexpr float kWinCheckDelay = 2.0f;

// Plate counters weigh a doubly plated cell like this many single plates.
inline constexpr int kDoublePlateWeight = 11;

// Plates left at or below which the remaining ones are highlighted.
inline constexpr unsigned kPlatesCountHighlight = 5;

// How a click on a cell is used.
enum class ClickMode : int { normal = 0, hammer = 1, removeColor = 2 };

// Letters above this one are special balls; ordinary coloured balls use 'a' to 'e'.
inline constexpr char16_t kLastOrdinaryBall = u'e';

}  // namespace moonbrook
