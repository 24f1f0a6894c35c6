#pragma once

#include <string>

#include "tests/engine/render/RenderTest.h"

namespace kt::test {

// Writes "fonts/test.xml": one 64 x 64 page; a, b and c advance 10, the blank 5, A and V 12 with A
// kerned by -2 before V and by 3 before W; x carries an offset of 2 inside its advance of 10.
class FontTest : public RenderTest {
protected:
    FontTest();

    static constexpr const char* kFontName = "fonts/test.xml";
};

}  // namespace kt::test
