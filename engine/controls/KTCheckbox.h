#pragma once

#include <optional>
#include <string>

#include "engine/core/KTNode.h"

namespace kt {

// A box that a click checks or unchecks: its child "mark" shows the state, and the looks "default",
// "active" and "pressed" follow the pointer. Each toggle calls the scene's "on_check" or "on_uncheck"
// operation and sets a bound provider's truth value; the provider's announcements set the state in turn.
// A disabled checkbox with a data object mirrors the object's value every frame.
class KTCheckbox : public KTNode {
public:
    KT_CLASS(KTCheckbox)

    KTCheckbox();

    bool checked() const { return checked_; }
    void setChecked(bool checked);
    // The value a disabled checkbox shows: the object's operation called with the argument.
    void setDataObject(KTObjectRef object, std::string getter, KTArgument getterArgument);

    void setAttributes(const XMLAttributes& attributes) override;
    void loadFromXMLElement(const XMLElement& element) override;
    void onEnterStage() override;
    void draw() override;
    void mouseEnter() override;
    void mouseLeave() override;
    void buttonDown(ButtonName button, CGPoint point) override;
    void buttonUp(ButtonName button, CGPoint point) override;

protected:
    void dataSourceChanged(bool bound) override;

private:
    struct SceneCall {
        std::string operation;
        std::optional<std::string> argument;
        // The scene file that named it, for the log.
        std::string file;
    };
    static std::optional<SceneCall> parseSceneCall(const std::string& definition);
    void toggle(const std::optional<SceneCall>& call, bool checked);
    bool markShown() const;

    std::optional<SceneCall> onCheck_;
    std::optional<SceneCall> onUncheck_;
    bool checked_ = false;
    KTObjectRef dataObject_;
    std::string getter_;
    KTArgument getterArgument_;
};

}  // namespace kt
