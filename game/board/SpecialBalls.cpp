#include "game/board/SpecialBalls.h"
