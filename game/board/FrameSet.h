#pragma once

#include <array>
#include <memory>

#include "engine/core/KTGeometry.h"

namespace kt {
class KTImageData;
class KTRenderer;
}  // namespace kt

namespace moonbrook {

// The frame pieces drawn at one position of the ring-padded frame grid around the field.
class FrameSet {
public:
    static constexpr std::size_t kPieces = 12;
    using Images = std::array<std::shared_ptr<kt::KTImageData>, kPieces>;

    // Frame-grid position (fx, fy) covers board position (fx - 1, fy - 1).
    FrameSet(int fx, int fy, const Images& images);

    const kt::CGRect& rect() const { return rect_; }
    void setFrame(std::size_t index) { frames_.at(index) = true; }
    bool frame(std::size_t index) const { return frames_.at(index); }
    bool empty() const;
    // Every set piece in index order, stretched over the rectangle.
    void draw(kt::KTRenderer& render) const;

private:
    kt::CGRect rect_;
    std::array<bool, kPieces> frames_{};
    // Shared with the board, which owns the images.
    const Images* images_;
};

}  // namespace moonbrook
