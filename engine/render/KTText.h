#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/core/KTNode.h"

namespace kt {

class KTFont;

enum class KTTextAlign { left = 0, right = 1, center = 2 };
enum class KTTextVerticalAlign { top = 0, bottom = 1, center = 2 };

// Shows its text with a bitmap font, tinted by the node's colour. With a width and a line height the text is
// wrapped at blanks into lines of at most the width (a longer word gets a line of its own) and aligned in
// the node; otherwise it is one line. Right-aligned text ends at the node's x. A bound value provider's
// changes become the text, after dataSourceDelay when that is set and the node already shows something.
class KTText : public KTNode {
public:
    KT_CLASS(KTText)

    static constexpr const char* kDefaultFont = "data/fonts/default.xml";

    KTText();
    KTText(const KTText&) = delete;
    KTText& operator=(const KTText&) = delete;

    void setText(const std::string& text) override;
    // Minutes and seconds ("02:06"), the seconds rounded up.
    void setTime(float seconds);
    void splitText();
    const std::vector<std::string>& lines() const { return lines_; }

    const std::shared_ptr<KTFont>& font() const { return font_; }
    void setFont(std::shared_ptr<KTFont> font) { font_ = std::move(font); }
    KTTextAlign align() const { return align_; }
    void setAlign(KTTextAlign align) { align_ = align; }
    KTTextVerticalAlign valign() const { return valign_; }
    void setValign(KTTextVerticalAlign valign) { valign_ = valign; }
    float lineHeight() const { return lineHeight_; }
    void setLineHeight(float height) { lineHeight_ = height; }
    float dataSourceDelay() const { return dataSourceDelay_; }

    void setAttributes(const XMLAttributes& attributes) override;
    void draw() override;

protected:
    void dataSourceChanged(bool bound) override;
    // Where a line starts, by the alignment.
    float alignedX(const std::string& line) const;

private:
    void setTimeFromString(const std::string& seconds);
    bool wrapped() const { return w() > 0 && lineHeight_ > 0 && !lines_.empty(); }

    std::vector<std::string> lines_;
    float lineHeight_ = 0;
    KTTextAlign align_ = KTTextAlign::left;
    KTTextVerticalAlign valign_ = KTTextVerticalAlign::top;
    std::shared_ptr<KTFont> font_;
    float dataSourceDelay_ = 0;
};

}  // namespace kt
