#pragma once

#include <memory>

#include "engine/core/KTNode.h"

namespace kt {

// A node that clicks: a release over it runs its "on_click" handler and plays the click effect, a press runs
// "on_mouse_down". Its look children "default", "active" (pointer over it), "pressed" and "disabled" follow
// the pointer and the enabled flag. State changes stop at the button, so they leave the looks alone.
class KTButton : public KTNode {
public:
    KT_CLASS(KTButton)

    static constexpr const char* kClickEffect = "data/effects/button_click.xml";

    KTButton();
    static std::shared_ptr<KTButton> button() { return node<KTButton>(); }

    void reset() override;
    void setEnabled(bool enabled) override;
    void onEnterStage() override;
    void mouseEnter() override;
    void mouseLeave() override;
    void buttonDown(ButtonName button, CGPoint point) override;
    void buttonUp(ButtonName button, CGPoint point) override;

private:
    void showIdleLook();
};

}  // namespace kt
