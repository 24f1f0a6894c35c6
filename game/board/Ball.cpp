#include "game/board/Ball.h"
