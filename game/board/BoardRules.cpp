#include "game/board/BoardRules.h"

namespace moonbrook {

namespace {

// The cells of the square of half-width `half` around the centre that `keep` accepts, column by column.
template <typename Keep>
Shape squareShape(int half, Keep keep) {
    Shape shape;
    for (int dx = -half; dx <= half; ++dx) {
        for (int dy = -half; dy <= half; ++dy) {
            if (keep(dx, dy)) shape.push_back({dx, dy});
        }
    }
    return shape;
}

}  // namespace

BallKind ballKindOf(char16_t letter) {
    switch (letter) {
        case u'0':
            return BallKind::ghost;
        case u'f':
        case u'g':
        case u'h':
            return BallKind::bomb;
        case u'i':
            return BallKind::hameleon;
        case u'j':
        case u'k':
        case u'l':
        case u'm':
            return BallKind::rocket;
        case u'n':
        case u'o':
        case u'p':
            return BallKind::colorDestroyer;
        case u'q':
        case u'r':
        case u's':
            return BallKind::diamond;
        case u't':
            return BallKind::token;
        default:
            return BallKind::ordinary;
    }
}

unsigned diamondValue(char16_t letter) {
    switch (letter) {
        case u'q':
            return 500;
        case u'r':
            return 1000;
        case u's':
            return 2500;
        default:
            return 0;
    }
}

Shape explosionShape(char16_t letter) {
    const Shape cross{{-1, 0}, {1, 0}, {0, 1}, {0, -1}};
    switch (letter) {
        case u'f':
            return cross;
        case u'g': {
            Shape shape = cross;
            shape.insert(shape.end(), {{-1, -1}, {-1, 1}, {1, -1}, {1, 1}, {-2, 0}, {2, 0}, {0, 2}, {0, -2}});
            return shape;
        }
        case u'h':
            return squareShape(2, [](int dx, int dy) {
                const bool centre = dx == 0 && dy == 0;
                const bool corner = (dx == 2 || dx == -2) && (dy == 2 || dy == -2);
                return !centre && !corner;
            });
        default:
            return {};
    }
}

// Level 1 the cell alone, level 2 the 3 x 3 square, level 3 and above a diagonal band of the 5 x 5 square
// from lower left to upper right.
Shape hammerShape(int level) {
    if (level <= 0) return {};
    if (level == 1) return {{0, 0}};
    if (level == 2) return squareShape(1, [](int, int) { return true; });
    return squareShape(2, [](int dx, int dy) { return dx + dy >= -2 && dx + dy <= 2; });
}

Shape rocketDirections(char16_t letter) {
    switch (letter) {
        case u'j':
            return {{1, 0}};
        case u'k':
            return {{-1, 0}};
        case u'l':
            return {{0, 1}, {0, -1}};
        case u'm':
            return {{-1, -1}, {1, 1}};
        default:
            return {};
    }
}

int colorDestroyerLevel(char16_t letter) {
    return letter == u'o' ? 2 : letter == u'p' ? 3 : 1;
}

}  // namespace moonbrook
