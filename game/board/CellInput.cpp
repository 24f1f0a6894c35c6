#include "game/board/Cell.h"
