#include "game/board/Board.h"
