#pragma once

#include <string>
#include <vector>

#include "engine/core/KTNode.h"

namespace kt::test {

// A node or scene that writes its stage changes, pointer and key calls into a shared journal as
// "name call arguments", e.g. "a buttonDown 256 20,25", and then lets its base class handle them.
template <typename Base>
class Journaling : public Base {
public:
    std::vector<std::string>* journal = nullptr;

    void onEnterStage() override {
        note("enter");
        Base::onEnterStage();
    }
    void onExitStage() override {
        if (this->isOnStage()) note("exit");
        Base::onExitStage();
    }
    void mouseEnter() override {
        note("mouseEnter");
        Base::mouseEnter();
    }
    void mouseLeave() override {
        note("mouseLeave");
        Base::mouseLeave();
    }
    void mouseMove(CGPoint point) override {
        note("mouseMove " + text(point));
        Base::mouseMove(point);
    }
    void buttonDown(ButtonName button, CGPoint point) override {
        note("buttonDown " + std::to_string(button) + " " + text(point));
    }
    void buttonUp(ButtonName button, CGPoint point) override {
        note("buttonUp " + std::to_string(button) + " " + text(point));
    }
    void keyDown(ButtonName button) override { note("keyDown " + std::to_string(button)); }

protected:
    void note(const std::string& what) {
        if (journal) journal->push_back(this->name() + " " + what);
    }

private:
    static std::string text(CGPoint point) {
        return std::to_string(static_cast<int>(point.x)) + "," + std::to_string(static_cast<int>(point.y));
    }
};

// The names of the node's children in order.
inline std::vector<std::string> childNames(const KTNode& node) {
    std::vector<std::string> names;
    for (const auto& child : node.children())
        names.push_back(child->name());
    return names;
}

}  // namespace kt::test
