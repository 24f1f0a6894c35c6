#include "engine/render/KTImage9.h"

#include "engine/core/KTRenderer.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTTextValues.h"
#include "engine/render/KTImageData.h"

namespace kt {

const KTClass& KTImage9::staticClass() {
    static const KTClass& cls = KTClass::define<KTImage9>("KTImage9", KTNode::staticClass())
                                    .operation("setImage:", &KTImage9::setImage);
    return cls;
}
KT_REGISTER_CLASS(KTImage9);

KTImage9::KTImage9() {
    setEnabled(false);
}

std::shared_ptr<KTImage9> KTImage9::imageFromFile(const std::string& path, float corner) {
    auto image = node<KTImage9>();
    image->setImage(path);
    image->setCorner(corner);
    return image;
}

void KTImage9::setImage(const std::string& path) {
    imageData_ = KTResourceManager::shared().getImage(path);
    if (imageData_) setSize(imageData_->size());
}

void KTImage9::setAttributes(const XMLAttributes& attributes) {
    KTNode::setAttributes(attributes);
    if (const std::string* file = attributes.find("filename")) setImage(*file);
    if (const std::string* corner = attributes.find("corner")) {
        corner_ = static_cast<float>(KTLeadingReal(*corner));
    }
}

// Columns and rows of the patches: their offsets and lengths in node space and in the image's unit space.
void KTImage9::draw() {
    KTRenderer* renderer = render();
    // An image without width has no corner fraction; there is nothing to stretch.
    if (!renderer || !imageData_ || imageData_->size().width <= 0) return;
    const float c = corner_;
    const float cs = c / imageData_->size().width;
    const float nodeOffsets[2][3] = {{0, c, w() - c}, {0, c, h() - c}};
    const float nodeLengths[2][3] = {{c, w() - 2 * c, c}, {c, h() - 2 * c, c}};
    const float unitOffsets[3] = {0, cs, 1 - cs};
    const float unitLengths[3] = {cs, 1 - 2 * cs, cs};
    renderer->push();
    renderer->pushColor();
    renderer->translate(position());
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            renderer->setImageData(imageData_.get(), {{unitOffsets[column], unitOffsets[row]},
                                                      {unitLengths[column], unitLengths[row]}});
            renderer->drawRect({{nodeOffsets[0][column], nodeOffsets[1][row]},
                                {nodeLengths[0][column], nodeLengths[1][row]}});
        }
    }
    renderer->popColor();
    renderer->pop();
}

}  // namespace kt
