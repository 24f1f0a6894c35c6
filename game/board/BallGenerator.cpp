#include "game/board/BallGenerator.h"
