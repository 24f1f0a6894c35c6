#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "engine/core/KTGeometry.h"

namespace kt {

// Width x height grid of shared object references, row-major (index = x + y * width).
template <typename T>
class KTBoard {
public:
    using Ref = std::shared_ptr<T>;

    KTBoard(unsigned width, unsigned height)
        : width_(width), height_(height), cells_(static_cast<std::size_t>(width) * height) {}

    unsigned width() const { return width_; }
    unsigned height() const { return height_; }

    Ref objectAt(int x, int y) const { return contains(x, y) ? cells_[index(x, y)] : nullptr; }
    Ref objectAt(KTPosition p) const { return objectAt(p.x, p.y); }

    void setObject(Ref object, int x, int y) {
        if (contains(x, y)) cells_[index(x, y)] = std::move(object);
    }
    void setObject(Ref object, KTPosition p) { setObject(std::move(object), p.x, p.y); }

    bool contains(int x, int y) const {
        return x >= 0 && y >= 0 && static_cast<unsigned>(x) < width_ && static_cast<unsigned>(y) < height_;
    }

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * width_;
    }

    unsigned width_;
    unsigned height_;
    std::vector<Ref> cells_;
};

}  // namespace kt
