// KTNode: building nodes from scene files, their generic attributes, value-provider bindings and effects.
#include <algorithm>
#include <array>
#include <vector>

#include "engine/core/KTContentLog.h"
#include "engine/core/KTControllerManager.h"
#include "engine/core/KTDataSource.h"
#include "engine/core/KTLocale.h"
#include "engine/core/KTNode.h"
#include "engine/core/KTNodeFactory.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTScene.h"
#include "engine/core/KTState.h"
#include "engine/core/KTTextValues.h"

namespace kt {
namespace {

constexpr std::array<std::string_view, 4> kHandlerEvents = {"on_click", "on_enter", "on_leave",
                                                            "on_mouse_down"};

// The roots of the files being loaded right now, innermost last: a file among them (included by itself, or
// naming itself as a tooltip) would be loaded inside itself forever.
class FilesBeingLoaded {
public:
    FilesBeingLoaded(const XMLElement& root, const std::string& path) { stack().push_back({&root, path}); }
    ~FilesBeingLoaded() { stack().pop_back(); }
    FilesBeingLoaded(const FilesBeingLoaded&) = delete;
    FilesBeingLoaded& operator=(const FilesBeingLoaded&) = delete;

    static bool contains(const XMLElement& root) {
        return std::ranges::find(stack(), &root, &File::root) != stack().end();
    }
    static std::string innermost() { return stack().empty() ? "(no file)" : stack().back().path; }

private:
    struct File {
        const XMLElement* root;
        std::string path;
    };
    static std::vector<File>& stack() {
        static std::vector<File> files;
        return files;
    }
};

}  // namespace

void KTNode::loadFromFile(const std::string& path) {
    const auto root = KTResourceManager::shared().getXML(path);
    if (!root) return;
    if (FilesBeingLoaded::contains(*root)) {
        KTLogContentProblem("scene file includes itself", path);
        return;
    }
    const FilesBeingLoaded loading(*root, path);
    loadFromXMLElement(*root);
}

std::string KTNode::fileBeingLoaded() {
    return FilesBeingLoaded::innermost();
}

void KTNode::loadFromXMLElement(const XMLElement& element) {
    if (const std::string* content = element.attribute("content")) loadFromFile(*content);
    setAttributes(element.attributes());
    for (const XMLElement& child : element.children())
        loadChildElement(child);
}

void KTNode::loadChildElement(const XMLElement& child) {
    const std::string& kind = child.name();
    if (kind == "state") {
        if (!stateNamed("default")) {
            auto snapshot = std::make_shared<KTState>();
            snapshot->name = "default";
            snapshot->loadFromNode(*this);
            addState(std::move(snapshot));
        }
        auto state = std::make_shared<KTState>();
        state->loadFromXMLElement(child);
        addState(std::move(state));
    } else if (kind == "transition") {
        const std::string* from = child.attribute("from");
        const std::string* to = child.attribute("to");
        const std::string* time = child.attribute("time");
        setTransitionTime(from ? *from : "", to ? *to : "",
                          time ? static_cast<float>(KTLeadingReal(*time)) : 0);
    } else if (kind == "tooltip") {
        Ref tip = node();
        tip->loadFromXMLElement(child);
        setTooltip(std::move(tip));
    } else if (Ref loaded = KTNodeFactory::shared().generateNodeOfType(kind)) {
        loaded->loadFromXMLElement(child);
        addChild(std::move(loaded));
    }
}

void KTNode::setAttributes(const XMLAttributes& attributes) {
    attributes_ = attributes;
    auto flag = [&attributes, this](std::string_view key, void (KTNode::*setter)(bool)) {
        if (const std::string* value = attributes.find(key)) (this->*setter)(KTBoolFromText(*value));
    };
    auto real = [&attributes](std::string_view key, float current) {
        const std::string* value = attributes.find(key);
        return value ? static_cast<float>(KTLeadingReal(*value)) : current;
    };
    if (const std::string* name = attributes.find("name")) setName(*name);
    flag("visible", &KTNode::setVisible);
    flag("enabled", &KTNode::setEnabled);
    flag("state_stop", &KTNode::setStateStop);
    flag("child_hit_test", &KTNode::setChildHitTest);
    flag("hit_test", &KTNode::setHitTest);
    flag("autoremove", &KTNode::setAutoremove);
    if (attributes.contains("x") || attributes.contains("y")) setPosition({real("x", x()), real("y", y())});
    if (attributes.contains("w") || attributes.contains("h")) setSize({real("w", w()), real("h", h())});
    if (const std::string* file = attributes.find("affine_animation")) {
        if (auto animation = KTNodeFactory::shared().loadAffineAnimation(*file, center())) {
            setAffineAnimation(std::move(animation));
        }
    }
    if (const std::string* file = attributes.find("tooltip")) setTooltip(nodeFromFile(*file));
    if (const std::string* color = attributes.find("color")) setColor(KTMakeColorFromCString(*color));
    if (const std::string* color = attributes.find("background_color")) {
        setBackgroundColor(KTMakeColorFromCString(*color));
    }
    for (std::string_view event : kHandlerEvents) {
        if (const std::string* definition = attributes.find(event)) {
            setHandlerByDefinition(*definition, std::string(event));
        }
    }
    if (const std::string* text = attributes.find("text")) setText(KTLocalize(*text));
    if (const std::string* definition = attributes.find("dataSource")) {
        bindDataSource(*definition, fileBeingLoaded());
    }
    if (const std::string* definition = attributes.find("enableDataSource")) {
        bindEnableDataSource(*definition, fileBeingLoaded());
    }
}

// Value-provider bindings

std::optional<std::shared_ptr<KTDataSource>> KTNode::findDataSource(const std::string& definition) {
    const std::size_t space = definition.find(' ');
    KTObjectRef target;
    std::string operation = definition;
    if (space != std::string::npos) {
        target = KTControllerManager::shared().getControllerByName(definition.substr(0, space));
        operation = definition.substr(space + 1);
    } else {
        target = scene();
        if (!target) return std::nullopt;
    }
    KTObjectRef provider;
    if (!target || !target->perform(operation, {}, &provider)) return nullptr;
    return std::dynamic_pointer_cast<KTDataSource>(provider);
}

void KTNode::bindDataSource(const std::string& definition, const std::string& file) {
    if (definition == "fpsDataSource") {
        if (auto fps = KTNodeFactory::shared().fpsDataSource()) setDataSource(fps);
        return;
    }
    const auto found = findDataSource(definition);
    if (!found) {
        if (!pendingBindings_) pendingBindings_ = std::make_unique<PendingBindings>();
        pendingBindings_->dataSource = definition;
        pendingBindings_->file = file;
    } else if (*found) {
        setDataSource(*found);
    } else {
        KTLogContentProblem("no value provider \"" + definition + "\"", file);
    }
}

void KTNode::bindEnableDataSource(const std::string& definition, const std::string& file) {
    const auto found = findDataSource(definition);
    if (!found) {
        if (!pendingBindings_) pendingBindings_ = std::make_unique<PendingBindings>();
        pendingBindings_->enableDataSource = definition;
        pendingBindings_->file = file;
    } else if (*found) {
        setEnableDataSource(*found);
    } else {
        KTLogContentProblem("no value provider \"" + definition + "\"", file);
    }
}

void KTNode::resolvePendingBindings() {
    if (!scene()) return;
    const std::unique_ptr<PendingBindings> pending = std::move(pendingBindings_);
    if (!pending->dataSource.empty()) bindDataSource(pending->dataSource, pending->file);
    if (!pending->enableDataSource.empty()) bindEnableDataSource(pending->enableDataSource, pending->file);
}

// Effects

KTNode::Ref KTNode::startEffect(const std::string& path, CGPoint point) {
    Ref effect = nodeFromFile(path);
    if (layered_) {
        effect->setLayered(true);
        effect->setLayer(maxChildLayer_);
    }
    effect->setEnabled(false);
    effect->setAutoremove(true);
    effect->moveTo(point);
    addChild(effect);
    return effect;
}

// Children are placed relative to this node's position, so its centre is half its size away from it.
KTNode::Ref KTNode::startEffect(const std::string& path) {
    return startEffect(path, {w() * 0.5f, h() * 0.5f});
}

}  // namespace kt
