#include "game/board/BoardActions.h"
