#pragma once

#include <memory>

#include "engine/core/KTNode.h"

namespace kt {

class KTFont;

// One line of a list: its text, drawn with the list's font and padding over a coloured band while selected.
// A click on it selects it in its list.
class KTListItem : public KTNode {
public:
    KT_CLASS(KTListItem)

    bool isSelected() const { return isSelected_; }
    void setSelected(bool selected) { isSelected_ = selected; }
    Color selectedColor() const { return selectedColor_; }
    void setSelectedColor(Color color) { selectedColor_ = color; }
    const KTObjectRef& data() const { return data_; }
    void setData(KTObjectRef data) { data_ = std::move(data); }
    CGPoint padding() const { return padding_; }
    void setPadding(CGPoint padding) { padding_ = padding; }
    const std::shared_ptr<KTFont>& font() const { return font_; }
    void setFont(std::shared_ptr<KTFont> font) { font_ = std::move(font); }

    void draw() override;
    void buttonUp(ButtonName button, CGPoint point) override;

private:
    bool isSelected_ = false;
    Color selectedColor_ = kColorWhite;
    KTObjectRef data_;
    CGPoint padding_;
    std::shared_ptr<KTFont> font_;
};

}  // namespace kt
