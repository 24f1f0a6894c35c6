#pragma once

#include <optional>
#include <vector>

namespace moonbrook::tools {

struct PackSize {
    int width = 0;
    int height = 0;
};

struct PackedRectangle {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Where every rectangle lies on one page, in input order, and the page's size.
struct PackedPage {
    int width = 0;
    int height = 0;
    std::vector<PackedRectangle> rectangles;
};

// Packs rectangles onto the smallest power-of-two page (widths tried first, so pages stay near square) with
// `padding` empty pixels between rectangles and around the page's edge, so texture filtering never picks up a
// neighbour. None when they do not fit a page of maxSide x maxSide.
std::optional<PackedPage> packRectangles(const std::vector<PackSize>& sizes, int padding, int maxSide = 4096);

}  // namespace moonbrook::tools
