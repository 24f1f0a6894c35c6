#include "app/ScreenScriptCommands.h"

#include <optional>
#include <string>

#include "app/JsonFile.h"
#include "app/ProfileDump.h"
#include "engine/controls/KTDragBox.h"
#include "engine/core/KTScene.h"
#include "engine/core/KTState.h"
#include "engine/platform/KTSDLEvents.h"
#include "engine/services/KTUserManager.h"

namespace moonbrook {
namespace {

using kt::KTEvent;
using kt::KTNode;

constexpr std::uint64_t kDefaultWaitFrames = 1200;

// Shown on screen: the node and every parent visible.
bool shown(const KTNode& node) {
    for (const KTNode* at = &node; at; at = at->parent()) {
        if (!at->visible()) return false;
    }
    return true;
}

// The first node of that name in tree order that is on stage and shown; a hidden one is remembered.
const KTNode* findShownNode(const KTNode& root, const std::string& name, bool& foundHidden) {
    for (const auto& child : root.children()) {
        if (child->name() == name && child->isOnStage()) {
            if (shown(*child)) return child.get();
            foundHidden = true;
        }
        if (const KTNode* found = findShownNode(*child, name, foundHidden)) return found;
    }
    return nullptr;
}

// Where the node's centre is drawn: every parent's position, and the shift of drag boxes' content.
kt::CGPoint screenCentre(const KTNode& node) {
    kt::CGPoint centre = node.absoluteCenter();
    for (const KTNode* at = node.parent(); at; at = at->parent()) {
        if (const auto* box = dynamic_cast<const kt::KTDragBox*>(at)) {
            centre = kt::CGPointAdd(centre, box->displacement());
        }
    }
    return centre;
}

ScriptAction clickNode(ScriptArguments& arguments) {
    return [name = arguments.rest("node name")](ScriptContext& context) {
        const auto scene = context.director().currentScene();
        bool foundHidden = false;
        const KTNode* node = scene ? findShownNode(*scene, name, foundHidden) : nullptr;
        if (!node)
            return context.fail("no node named '" + name + "' is " + (foundHidden ? "shown" : "on stage"));
        const kt::CGPoint at = screenCentre(*node);
        context.injectPointerEvent(KTEvent::Type::mouseMove, at);
        context.injectPointerEvent(KTEvent::Type::mouseDown, at, 1);
        context.injectPointerEvent(KTEvent::Type::mouseUp, at, 1);
        return ScriptStatus::yield;
    };
}

std::uint64_t maxFrames(ScriptArguments& arguments) {
    const std::optional<std::string> limit = arguments.optionalWord();
    if (!limit) return kDefaultWaitFrames;
    ScriptArguments limitArgument(*limit);
    const std::uint64_t frames = limitArgument.count("MAX");
    if (!limitArgument.ok()) arguments.fail(limitArgument.error());
    return frames;
}

// Runs frames until the running scene passes the test, or stops the script after the limit.
template <typename Test>
ScriptAction waitForScene(std::uint64_t limit, std::string what, Test test) {
    return [limit, what = std::move(what), test, frames = std::uint64_t{0}](ScriptContext& context) mutable {
        const auto scene = context.director().currentScene();
        if (scene && test(*scene)) return ScriptStatus::finished;
        if (frames++ >= limit)
            return context.fail(what + " not reached in " + std::to_string(limit) + " frames");
        return ScriptStatus::waiting;
    };
}

ScriptAction waitScene(ScriptArguments& arguments) {
    const std::string className = arguments.word("scene class");
    const std::uint64_t limit = maxFrames(arguments);
    return waitForScene(limit, "scene " + className, [className](const kt::KTScene& scene) {
        const kt::KTClass* wanted = kt::KTClass::named(className);
        return wanted && scene.isKindOf(*wanted);
    });
}

ScriptAction waitState(ScriptArguments& arguments) {
    const std::string state = arguments.word("state");
    const std::uint64_t limit = maxFrames(arguments);
    return waitForScene(limit, "state " + state, [state](const kt::KTScene& scene) {
        return scene.currentState() && scene.currentState()->name == state;
    });
}

ScriptAction dumpProfiles(ScriptArguments& arguments) {
    return [path = arguments.rest("file name")](ScriptContext& context) {
        return writeJsonFile(context, path, describeProfiles(kt::KTUserManager::sharedManager()));
    };
}

}  // namespace

void addScreenScriptCommands(ScriptCommandRegistry& commands) {
    commands.add("click-node", clickNode);
    commands.add("wait-scene", waitScene);
    commands.add("wait-state", waitState);
    commands.add("dump profiles", dumpProfiles);
}

}  // namespace moonbrook
