#pragma once

#include <string>
#include <vector>

#include "engine/core/KTFormat.h"
#include "engine/core/KTRenderer.h"

namespace kt::test {

// A renderer that draws nothing and writes down every call as a short line, e.g. "translate 10 20",
// "drawRect 0 0 46 46", "pushColor", "multColor ff808080".
class RecordingRenderer : public KTRenderer {
public:
    std::vector<std::string> calls;

    void begin() override { calls.emplace_back("begin"); }
    void end() override { calls.emplace_back("end"); }
    void setOrtho() override {}
    unsigned lastFrameRects() const override { return 0; }

    Color color() const override { return color_; }
    void setColor(Color color) override;
    void multColor(Color color) override;
    void pushColor() override { calls.emplace_back("pushColor"); }
    void popColor() override { calls.emplace_back("popColor"); }

    void setImageData(const KTImageData*) override { calls.emplace_back("setImageData"); }
    void setImageData(const KTImageData*, const CGRect&) override { calls.emplace_back("setImageData"); }
    void setMaskData(const KTImageData*) override { calls.emplace_back("setMaskData"); }

    void identity() override { calls.emplace_back("identity"); }
    void translate(CGPoint offset) override {
        calls.push_back(KTFormat("translate %@ %@", offset.x, offset.y));
    }
    void scale(CGPoint factors) override { calls.push_back(KTFormat("scale %@ %@", factors.x, factors.y)); }
    void rotate(float degrees) override { calls.push_back(KTFormat("rotate %@", degrees)); }
    void push() override { calls.emplace_back("push"); }
    void pop() override { calls.emplace_back("pop"); }
    CGPoint translatePoint(CGPoint point) const override { return point; }

    void drawRect(const CGRect& rect) override;
    void drawQuad(const CGQuad& quad) override;
    void drawTri(const KTVertex&, const KTVertex&, const KTVertex&) override {
        calls.emplace_back("drawTri");
    }

private:
    Color color_;
};

}  // namespace kt::test
