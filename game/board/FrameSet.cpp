#include "game/board/FrameSet.h"

#include <algorithm>
#include <cmath>

#include "engine/core/KTRenderer.h"
#include "game/board/BoardConstants.h"

namespace moonbrook {

FrameSet::FrameSet(int fx, int fy, const Images& images) : images_(&images) {
    // Whole pixels per step keep neighbouring pieces from showing seams.
    const float stepX = std::round(kCellW);
    const float stepY = std::round(kCellH);
    rect_ = {{stepX * static_cast<float>(fx - 1), stepY * static_cast<float>(fy - 1)}, {kCellW, kCellH}};
}

bool FrameSet::empty() const {
    return std::none_of(frames_.begin(), frames_.end(), [](bool set) { return set; });
}

void FrameSet::draw(kt::KTRenderer& render) const {
    for (std::size_t index = 0; index < kPieces; ++index) {
        if (!frames_[index] || !(*images_)[index]) continue;
        render.setImageData((*images_)[index].get());
        render.drawRect(rect_);
    }
}

}  // namespace moonbrook
