#include "game/board/GameBoardController.h"
