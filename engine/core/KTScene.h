#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "engine/core/KTNode.h"

namespace kt {

// The root node of one screen. On top of the node it keeps a scene-wide registry of named nodes, keyboard
// focus, pointer capture, a node that follows the pointer, a tooltip, a queue of popups and the data of a
// loading screen.
class KTScene : public KTNode {
public:
    KT_CLASS(KTScene)

    KTScene();

    std::shared_ptr<KTScene> scene() override { return sharedAs<KTScene>(); }

    // Name registry: the node registered last under a name wins; entries stay until overwritten or until
    // removeAllChildren.
    void registerName(const std::string& name, Ref node);
    Ref getChildByName(std::string_view name) const override;
    void removeAllChildren() override;

    void setFocus(Ref node);
    void setFocusByName(const std::string& name) { setFocus(getChildByName(name)); }
    const Ref& focus() const { return focus_; }
    // Pointer capture: while set, the node receives all pointer input in its parent's space.
    void setMouseFocus(Ref node) { mouseFocus_ = std::move(node); }
    const Ref& mouseFocus() const { return mouseFocus_; }
    void setUnderMouse(Ref node);
    const Ref& underMouse() const { return underMouse_; }
    CGPoint mousePosition() const { return mousePosition_; }

    // The old tooltip drops back to its "default" state at once and leaves; the new one (none hides it)
    // starts from "default" at the pointer and moves to "visible" with its own transition time, or at once
    // when replacing.
    void setCurrentTooltip(Ref tooltip);
    void replaceCurrentTooltipWith(Ref tooltip);
    const Ref& currentTooltip() const { return currentTooltip_; }

    // Popups, one at a time: a popup is loaded from its file, added on top and switched from "initial" to
    // "default"; while one is shown, later ones wait in order. Its file's "closing" state is expected to
    // end by calling removePopup, which shows the next one. Missing or damaged files are refused.
    bool showPopup(const std::string& path);
    void closePopup();
    void removePopup();
    const Ref& currentPopup() const { return currentPopup_; }
    const std::deque<std::string>& popupQueue() const { return popupQueue_; }

    // The window gained or lost input focus.
    virtual void onActivate() { mouseEnter(); }
    virtual void onDeactivate() { mouseLeave(); }

    void setSoundVolumeStr(const std::string& volume);
    void setMusicVolumeStr(const std::string& volume);

    // Loading screens.
    bool preloadScene() const { return preloadScene_; }
    void setPreloadScene(bool preload) { preloadScene_ = preload; }
    const std::vector<std::string>& preloadList() const { return preloadList_; }
    void setPreloadList(std::vector<std::string> list) { preloadList_ = std::move(list); }
    std::size_t preloadPosition() const { return preloadPosition_; }
    void setPreloadPosition(std::size_t position) { preloadPosition_ = position; }

    const std::string& firstState() const { return firstState_; }
    void setFirstState(std::string state) { firstState_ = std::move(state); }

    // A scene without a current state after the switch takes its present values as a state of that name.
    void setState(const std::string& name, float seconds, bool overrideChildren) override;
    using KTNode::setState;

    void onEnterStage() override;
    void drawAfterChildren() override;
    void mouseMove(CGPoint point) override;
    void buttonDown(ButtonName button, CGPoint point) override;
    void buttonUp(ButtonName button, CGPoint point) override;
    void keyDown(ButtonName button) override;
    void keyUp(ButtonName button) override;
    void textInput(const std::string& text) override;

private:
    // The mouse focus's parent space: pointer input for the captured node is shifted into it.
    CGPoint pointForMouseFocus(CGPoint point) const;
    void showTooltip(Ref tooltip, bool immediately);

    std::map<std::string, Ref, std::less<>> names_;
    Ref focus_;
    Ref mouseFocus_;
    Ref underMouse_;
    CGPoint mousePosition_;
    Ref currentPopup_;
    std::deque<std::string> popupQueue_;
    Ref currentTooltip_;
    bool preloadScene_ = false;
    std::vector<std::string> preloadList_;
    std::size_t preloadPosition_ = 0;
    std::string firstState_;
};

}  // namespace kt
