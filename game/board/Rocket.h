#pragma once

#include "game/board/BoardConstants.h"

namespace moonbrook {

// A rocket flying across the grid one cell per tick until it leaves it.
class Rocket {
public:
    Rocket(int x, int y, int vx, int vy) : x_(x), y_(y), vx_(vx), vy_(vy) {}

    int x() const { return x_; }
    int y() const { return y_; }
    void step() {
        x_ += vx_;
        y_ += vy_;
    }
    bool end() const {
        return x_ < 0 || y_ < 0 || x_ >= static_cast<int>(kSizeX) || y_ >= static_cast<int>(kSizeY);
    }

private:
    int x_;
    int y_;
    int vx_;
    int vy_;
};

}  // namespace moonbrook
