// font_generator OUT.xml FONT_FILE PIXEL_SIZE FILL_TOP FILL_BOTTOM [OUTLINE_COLOR OUTLINE_WIDTH]
// Colours are "#rrggbb"; the fill shades from FILL_TOP at the top of the line to FILL_BOTTOM at its bottom.
#include <cstdlib>
#include <iostream>
#include <string>

#include "tools/content/FontGenerator.h"

namespace {

int usage() {
    std::cerr << "usage: font_generator OUT.xml FONT_FILE PIXEL_SIZE FILL_TOP FILL_BOTTOM "
                 "[OUTLINE_COLOR OUTLINE_WIDTH]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace moonbrook::tools;
    if (argc != 6 && argc != 8) return usage();
    FontStyle style;
    style.fontPath = argv[2];
    style.pixelSize = std::atoi(argv[3]);
    const auto fillTop = parseFontColor(argv[4]);
    const auto fillBottom = parseFontColor(argv[5]);
    if (style.pixelSize <= 0 || !fillTop || !fillBottom) return usage();
    style.fillTop = *fillTop;
    style.fillBottom = *fillBottom;
    if (argc == 8) {
        const auto outline = parseFontColor(argv[6]);
        style.outlineWidth = std::strtof(argv[7], nullptr);
        if (!outline || style.outlineWidth < 0.0f) return usage();
        style.outline = *outline;
    }
    style.characters = textCharacters();
    if (const auto problem = generateFont(style, argv[1])) {
        std::cerr << "font_generator: " << argv[1] << ": " << *problem << "\n";
        return 1;
    }
    return 0;
}
