#include "game/board/FrameSet.h"
