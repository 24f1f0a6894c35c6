#include "engine/controls/KTListItem.h"

#include "engine/controls/KTList.h"
#include "engine/core/KTRenderer.h"
#include "engine/render/KTFont.h"

namespace kt {

const KTClass& KTListItem::staticClass() {
    static const KTClass& cls = KTClass::define<KTListItem>("KTListItem", KTNode::staticClass());
    return cls;
}
KT_REGISTER_CLASS(KTListItem);

void KTListItem::draw() {
    KTRenderer* renderer = render();
    if (!renderer) return;
    renderer->pushColor();
    if (isSelected_) {
        renderer->pushColor();
        renderer->multColor(selectedColor_);
        renderer->setImageData(nullptr);
        renderer->drawRect(getRect());
        renderer->popColor();
    }
    renderer->multColor(color());
    if (font_) font_->draw(*renderer, text(), CGPointAdd(position(), padding_));
    renderer->popColor();
}

void KTListItem::buttonUp(ButtonName button, CGPoint point) {
    KTNode::buttonUp(button, point);
    // Selecting may rebuild the list from its provider, which drops this line: keep it alive until then.
    const auto self = sharedAs<KTListItem>();
    if (auto* list = dynamic_cast<KTList*>(parent())) list->selectItem(this);
}

}  // namespace kt
