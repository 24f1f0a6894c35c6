#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/core/KTNode.h"

namespace kt {

class KTFont;
class KTListItem;

// A vertical list of text lines, one of them selected. Bound to a list provider it shows the provider's
// entries, reports a click to the scene's "on_select" operation and then to the provider, and rebuilds
// itself whenever the provider announces anything.
class KTList : public KTNode {
public:
    KT_CLASS(KTList)

    KTList();
    KTList(const KTList&) = delete;
    KTList& operator=(const KTList&) = delete;

    std::shared_ptr<KTListItem> addItem(const std::string& text, KTObjectRef data = nullptr);
    // Tells the scene and the provider unless noSync.
    void selectItem(KTListItem* item, bool noSync = false);
    void deleteSelectedItem();
    void arrangeItems();
    // Replaces the lines with the provider's entries and selects its selection, announcing nothing.
    void fill(const KTDataSource& provider);
    void recreateItems();
    // The index of the selected line, if any.
    std::optional<std::size_t> selectedIndex() const;

    float lineHeight() const { return lineHeight_; }
    void setLineHeight(float height) { lineHeight_ = height; }
    Color selectionColor() const { return selectionColor_; }
    void setSelectionColor(Color color) { selectionColor_ = color; }
    CGPoint itemPadding() const { return itemPadding_; }
    void setItemPadding(CGPoint padding) { itemPadding_ = padding; }
    const std::optional<std::string>& onSelect() const { return onSelect_; }
    void setOnSelect(std::optional<std::string> operation) { onSelect_ = std::move(operation); }
    const std::shared_ptr<KTFont>& font() const { return font_; }
    void setFont(std::shared_ptr<KTFont> font) { font_ = std::move(font); }

    void setAttributes(const XMLAttributes& attributes) override;

protected:
    void dataSourceChanged(bool bound) override;

private:
    float lineHeight_ = 0;
    Color selectionColor_ = kColorWhite;
    CGPoint itemPadding_;
    std::optional<std::string> onSelect_;
    std::shared_ptr<KTFont> font_;
};

}  // namespace kt
