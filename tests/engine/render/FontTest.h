#pragma once

#include <string>

#include "tests/engine/render/RenderTest.h"

namespace kt::test {

// Writes "fonts/test.xml": one 64 x 64 page; a, b and c advance 10, the blank 5, A and V 12 with A
// kerned by -2 before V and by 3 before W; x carries an offset of 2 inside its advance of 10.
class FontTest : public RenderTest {
protected:
    FontTest() {
        writePng("fonts/test_0.png", 64, 64, 0xFFFFFFFF);
        writeFile(kFontName, R"(<font>
      <info face="test"/>
      <pages><page id="0" file="test_0.png"/></pages>
      <chars count="7">
        <char id="97" x="0" y="0" width="8" height="12" xoffset="0" yoffset="4" xadvance="10" page="0"/>
        <char id="98" x="16" y="0" width="8" height="12" xoffset="0" yoffset="4" xadvance="10" page="0"/>
        <char id="99" x="32" y="0" width="8" height="12" xoffset="0" yoffset="4" xadvance="10" page="0"/>
        <char id="32" x="48" y="48" width="0" height="0" xoffset="0" yoffset="0" xadvance="5" page="0"/>
        <char id="65" x="0" y="16" width="12" height="16" xoffset="0" yoffset="0" xadvance="12" page="0"/>
        <char id="86" x="16" y="16" width="12" height="16" xoffset="0" yoffset="0" xadvance="12" page="0"/>
        <char id="120" x="32" y="32" width="6" height="8" xoffset="2" yoffset="6.5" xadvance="10" page="0"/>
      </chars>
      <kernings>
        <kerning first="65" second="86" amount="-2"/>
        <kerning first="65" second="87" amount="3"/>
      </kernings>
    </font>)");
    }

    static constexpr const char* kFontName = "fonts/test.xml";
};

}  // namespace kt::test
