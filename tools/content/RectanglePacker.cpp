#include "tools/content/RectanglePacker.h"

#include <stb_rect_pack.h>

#include <algorithm>

namespace moonbrook::tools {

namespace {

std::optional<PackedPage> packOnPage(const std::vector<PackSize>& sizes, int padding, int width, int height) {
    // The packer places padded rectangles on a page shrunk by the padding, which leaves one padding on
    // every side of each rectangle and of the page.
    const int innerWidth = width - padding;
    const int innerHeight = height - padding;
    std::vector<stbrp_node> nodes(static_cast<std::size_t>(innerWidth));
    stbrp_context context;
    stbrp_init_target(&context, innerWidth, innerHeight, nodes.data(), static_cast<int>(nodes.size()));
    std::vector<stbrp_rect> rects(sizes.size());
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        rects[i].id = static_cast<int>(i);
        rects[i].w = sizes[i].width + padding;
        rects[i].h = sizes[i].height + padding;
    }
    if (!rects.empty() && stbrp_pack_rects(&context, rects.data(), static_cast<int>(rects.size())) == 0) {
        return std::nullopt;
    }
    PackedPage page{width, height, std::vector<PackedRectangle>(sizes.size())};
    for (const stbrp_rect& rect : rects) {
        const auto index = static_cast<std::size_t>(rect.id);
        page.rectangles[index] = {rect.x + padding, rect.y + padding, sizes[index].width,
                                  sizes[index].height};
    }
    return page;
}

}  // namespace

std::optional<PackedPage> packRectangles(const std::vector<PackSize>& sizes, int padding, int maxSide) {
    for (int side = 16; side <= maxSide; side *= 2) {
        for (const int height : {side / 2, side}) {
            if (height < 16) continue;
            if (auto page = packOnPage(sizes, padding, side, height)) return page;
        }
    }
    return std::nullopt;
}

}  // namespace moonbrook::tools
