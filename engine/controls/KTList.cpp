#include "engine/controls/KTList.h"

#include "engine/controls/KTListItem.h"
#include "engine/core/KTDataSource.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTScene.h"
#include "engine/core/KTTextValues.h"

namespace kt {

const KTClass& KTList::staticClass() {
    static const KTClass& cls = KTClass::define<KTList>("KTList", KTNode::staticClass())
                                    .operation("deleteSelectedItem", &KTList::deleteSelectedItem)
                                    .operation("recreateItems", &KTList::recreateItems);
    return cls;
}
KT_REGISTER_CLASS(KTList);

KTList::KTList() = default;

std::shared_ptr<KTListItem> KTList::addItem(const std::string& text, KTObjectRef data) {
    auto item = KTNode::node<KTListItem>();
    item->setPosition({0, static_cast<float>(children().count()) * lineHeight_});
    item->setSize({w(), lineHeight_});
    item->setData(std::move(data));
    item->setText(text);
    item->setSelectedColor(selectionColor_);
    item->setPadding(itemPadding_);
    item->setFont(font_);
    addChild(item);
    return item;
}

void KTList::selectItem(KTListItem* item, bool noSync) {
    int index = -1;
    for (std::size_t i = 0; i < children().count(); ++i) {
        auto* line = dynamic_cast<KTListItem*>(children().objectAtIndex(i).get());
        if (!line) continue;
        line->setSelected(line == item);
        if (line == item) index = static_cast<int>(i);
    }
    if (noSync) return;
    if (onSelect_ && item) {
        if (auto owner = scene(); owner && owner->respondsTo(*onSelect_))
            owner->perform(*onSelect_, item->text());
    }
    if (auto provider = dataSource()) {
        provider->setSelectionIdx(index);
        provider->commit();
    }
}

std::optional<std::size_t> KTList::selectedIndex() const {
    for (std::size_t i = 0; i < children().count(); ++i) {
        const auto* line = dynamic_cast<const KTListItem*>(children().objectAtIndex(i).get());
        if (line && line->isSelected()) return i;
    }
    return std::nullopt;
}

void KTList::deleteSelectedItem() {
    const auto index = selectedIndex();
    if (!index) return;
    removeChild(children().objectAtIndex(*index).get());
    arrangeItems();
}

void KTList::arrangeItems() {
    for (std::size_t i = 0; i < children().count(); ++i) {
        children().objectAtIndex(i)->setPosition({0, static_cast<float>(i) * lineHeight_});
    }
}

void KTList::fill(const KTDataSource& provider) {
    removeAllChildren();
    const int selected = provider.selectionIdx();
    int index = 0;
    for (const std::string& text : provider.itemTexts()) {
        auto item = addItem(text);
        if (index++ == selected) selectItem(item.get(), true);
    }
}

void KTList::recreateItems() {
    if (auto provider = dataSource()) fill(*provider);
}

void KTList::dataSourceChanged(bool bound) {
    if (!bound) KTLog("notify");
    recreateItems();
}

void KTList::setAttributes(const XMLAttributes& attributes) {
    if (const std::string* operation = attributes.find("on_select")) onSelect_ = *operation;
    if (const std::string* color = attributes.find("selection_color")) {
        selectionColor_ = KTMakeColorFromCString(*color);
    }
    const auto real = [&](const char* name, float fallback) {
        const std::string* value = attributes.find(name);
        return value ? static_cast<float>(KTLeadingReal(*value)) : fallback;
    };
    itemPadding_ = {real("item_padding_left", itemPadding_.x), real("item_padding_top", itemPadding_.y)};
    lineHeight_ = real("item_height", lineHeight_);
    if (const std::string* font = attributes.find("font")) font_ = KTResourceManager::shared().getFont(*font);
    KTNode::setAttributes(attributes);
}

}  // namespace kt
