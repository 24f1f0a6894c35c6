#include "app/BasicScriptCommands.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/JsonFile.h"
#include "app/SceneDump.h"
#include "engine/platform/KTSDLEvents.h"

namespace moonbrook {
namespace {

using kt::KTEvent;

ScriptAction waitFrames(ScriptArguments& arguments) {
    const std::uint64_t frames = arguments.count("frame count");
    return [frames, remaining = std::optional<std::uint64_t>()](ScriptContext&) mutable {
        remaining = remaining ? *remaining - 1 : frames;
        return *remaining == 0 ? ScriptStatus::finished : ScriptStatus::waiting;
    };
}

kt::CGPoint point(ScriptArguments& arguments) {
    const float x = arguments.number("X");
    const float y = arguments.number("Y");
    return {x, y};
}

// SDL's numbers for the mouse buttons.
int mouseButton(ScriptArguments& arguments) {
    const std::optional<std::string> name = arguments.optionalWord();
    if (!name || *name == "left") return 1;
    if (*name == "middle") return 2;
    if (*name == "right") return 3;
    arguments.fail("unknown button '" + *name + "' (left, right or middle)");
    return 0;
}

// The pointer moves to the point first, as a real one would, then the buttons act there in order.
ScriptAction pointerAt(ScriptArguments& arguments, std::vector<KTEvent::Type> buttonEvents) {
    const kt::CGPoint at = point(arguments);
    const int button = buttonEvents.empty() ? 0 : mouseButton(arguments);
    return [at, button, buttonEvents = std::move(buttonEvents)](ScriptContext& context) {
        context.injectPointerEvent(KTEvent::Type::mouseMove, at);
        for (const KTEvent::Type type : buttonEvents)
            context.injectPointerEvent(type, at, button);
        return ScriptStatus::yield;
    };
}

ScriptAction pressKey(ScriptArguments& arguments) {
    const std::string name = arguments.rest("key name");
    const std::optional<kt::ButtonName> key = kt::keyFromName(name);
    if (!key) {
        arguments.fail("unknown key name '" + name + "'");
        return {};
    }
    KTEvent event;
    event.type = KTEvent::Type::keyDown;
    event.key = *key;
    event.keyName = kt::nameOfKey(*key);
    return [event](ScriptContext& context) {
        context.injectEvent(event);
        return ScriptStatus::yield;
    };
}

ScriptAction typeText(ScriptArguments& arguments) {
    KTEvent event;
    event.type = KTEvent::Type::textInput;
    event.text = arguments.rest("text");
    return [event](ScriptContext& context) {
        context.injectEvent(event);
        return ScriptStatus::yield;
    };
}

ScriptAction dumpScene(ScriptArguments& arguments) {
    return [path = arguments.rest("file name")](ScriptContext& context) {
        return writeJsonFile(context, path, describeScene(context.director().currentScene().get()));
    };
}

ScriptAction quit(ScriptArguments&) {
    return [](ScriptContext& context) {
        context.director().close();
        return ScriptStatus::finished;
    };
}

}  // namespace

void addBasicScriptCommands(ScriptCommandRegistry& commands) {
    commands.add("wait", waitFrames);
    commands.add("move", [](ScriptArguments& arguments) { return pointerAt(arguments, {}); });
    commands.add("press",
                 [](ScriptArguments& arguments) { return pointerAt(arguments, {KTEvent::Type::mouseDown}); });
    commands.add("release",
                 [](ScriptArguments& arguments) { return pointerAt(arguments, {KTEvent::Type::mouseUp}); });
    commands.add("click", [](ScriptArguments& arguments) {
        return pointerAt(arguments, {KTEvent::Type::mouseDown, KTEvent::Type::mouseUp});
    });
    commands.add("key", pressKey);
    commands.add("text", typeText);
    commands.add("dump scene", dumpScene);
    commands.add("quit", quit);
}

}  // namespace moonbrook
