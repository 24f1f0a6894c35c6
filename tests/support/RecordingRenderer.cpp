#include "tests/support/RecordingRenderer.h"

namespace kt::test {

void RecordingRenderer::setColor(Color color) {
    color_ = color;
    calls.push_back(KTFormat("setColor %08x", color.rep));
}

void RecordingRenderer::multColor(Color color) {
    color_ = KTMultColors(color_, color);
    calls.push_back(KTFormat("multColor %08x", color.rep));
}

void RecordingRenderer::drawRect(const CGRect& rect) {
    calls.push_back(
        KTFormat("drawRect %@ %@ %@ %@", rect.origin.x, rect.origin.y, rect.size.width, rect.size.height));
}

void RecordingRenderer::drawQuad(const CGQuad& quad) {
    calls.push_back(KTFormat("drawQuad %@ %@ %@ %@", quad.p[0].x, quad.p[0].y, quad.p[2].x, quad.p[2].y));
}

}  // namespace kt::test
