#include "engine/controls/KTProgress.h"

#include <algorithm>
#include <cmath>

#include "engine/core/KTDataSource.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTRenderer.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTTextValues.h"
#include "engine/render/KTImageData.h"

namespace kt {

namespace {

constexpr float kFullTurn = 2 * 3.14159265f;

}  // namespace

const KTClass& KTProgress::staticClass() {
    static const KTClass& cls = KTClass::define<KTProgress>("KTProgress", KTNode::staticClass())
                                    .operation("setValue:", &KTProgress::setValueFromString);
    return cls;
}
KT_REGISTER_CLASS(KTProgress);

KTProgress::KTProgress() = default;

void KTProgress::setValue(float value) {
    value_ = std::clamp(value, 0.0f, 1.0f);
    placeEdge();
}

void KTProgress::setValueFromString(const std::string& text) {
    setValue(static_cast<float>(KTLeadingReal(text)));
}

void KTProgress::placeEdge() {
    const auto edge = getChildByName("edge");
    if (!edge) return;
    if (vertical_) {
        edge->setPosition({0.5f * w(), h() - value_ * h()});
    } else {
        edge->setPosition({w() * value_, 0.5f * h()});
    }
}

void KTProgress::dataSourceChanged(bool) {
    if (const auto source = dataSource()) setValue(static_cast<float>(KTLeadingReal(source->stringValue())));
}

void KTProgress::setAttributes(const XMLAttributes& attributes) {
    KTNode::setAttributes(attributes);
    if (const std::string* file = attributes.find("filename")) {
        imageData_ = KTResourceManager::shared().getImage(*file);
        if (imageData_ && w() == 0) setSize(imageData_->size());
    }
    if (const std::string* circular = attributes.find("circular")) circular_ = KTBoolFromText(*circular);
    if (const std::string* vertical = attributes.find("vertical"); vertical && !circular_) {
        vertical_ = KTBoolFromText(*vertical);
    }
    if (const std::string* value = attributes.find("value")) setValueFromString(*value);
    if (const std::string* delay = attributes.find("dataSourceDelay")) {
        dataSourceDelay_ = static_cast<float>(KTLeadingReal(*delay));
    }
    placeEdge();
}

void KTProgress::draw() {
    KTRenderer* renderer = render();
    if (!renderer || !imageData_) return;
    renderer->pushColor();
    renderer->multColor(color());
    if (circular_) {
        drawPie(*renderer);
    } else if (vertical_) {
        renderer->setImageData(imageData_.get(), {{0, 1 - value_}, {1, value_}});
        renderer->drawRect({{x(), y() + h() - value_ * h()}, {w(), value_ * h()}});
    } else {
        renderer->setImageData(imageData_.get(), {{0, 0}, {value_, 1}});
        renderer->drawRect({{x(), y()}, {w() * value_, h()}});
    }
    renderer->popColor();
}

// Triangles from the centre; each vertex takes the texture point at the same place of the image.
void KTProgress::drawPie(KTRenderer& renderer) const {
    const float sweep = kFullTurn * value_;
    if (sweep <= 0) return;
    renderer.setImageData(imageData_.get());
    const Color tint = renderer.color();
    const auto vertexAt = [&](float unitX, float unitY) {
        const CGPoint texture = imageData_->tPoint({unitX, unitY});
        return KTVertex{{x() + unitX * w(), y() + unitY * h()}, texture.x, texture.y, tint};
    };
    // Where the ray from the centre at the angle (0 at the top, clockwise; y points down) leaves the image.
    // Slices end at every eighth of a turn, at the corners and edge middles, so each slice lies against one
    // edge and a full turn covers the whole image.
    const auto rimAt = [&](float angle) {
        const float dx = std::sin(angle);
        const float dy = -std::cos(angle);
        const float reach = 0.5f / std::max(std::abs(dx), std::abs(dy));
        return vertexAt(0.5f + reach * dx, 0.5f + reach * dy);
    };
    const KTVertex centre = vertexAt(0.5f, 0.5f);
    const int slices = static_cast<int>(std::ceil(sweep / kMaxSliceAngle));
    KTVertex from = rimAt(0);
    for (int i = 1; i <= slices; ++i) {
        const KTVertex to = rimAt(std::min(sweep, static_cast<float>(i) * kMaxSliceAngle));
        renderer.drawTri(centre, from, to);
        from = to;
    }
}

}  // namespace kt
