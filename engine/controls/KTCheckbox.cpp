#include "engine/controls/KTCheckbox.h"

#include <array>

#include "engine/controls/KTControlLook.h"
#include "engine/core/KTContentLog.h"
#include "engine/core/KTDataSource.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTScene.h"

namespace kt {
namespace {

constexpr std::array<std::string_view, 3> kLooks = {"default", "active", "pressed"};

}  // namespace

const KTClass& KTCheckbox::staticClass() {
    static const KTClass& cls = KTClass::define<KTCheckbox>("KTCheckbox", KTNode::staticClass());
    return cls;
}
KT_REGISTER_CLASS(KTCheckbox);

KTCheckbox::KTCheckbox() {
    setStateStop(true);
}

void KTCheckbox::setChecked(bool checked) {
    checked_ = checked;
    KTShowLook(*this, "mark", checked);
}

void KTCheckbox::setDataObject(KTObjectRef object, std::string getter, KTArgument getterArgument) {
    dataObject_ = std::move(object);
    getter_ = std::move(getter);
    getterArgument_ = std::move(getterArgument);
}

// "operation:argument" calls "operation:" with the argument; an empty argument is none.
std::optional<KTCheckbox::SceneCall> KTCheckbox::parseSceneCall(const std::string& definition) {
    const std::size_t colon = definition.find(':');
    if (colon == std::string::npos) return SceneCall{definition, std::nullopt, fileBeingLoaded()};
    SceneCall call{definition.substr(0, colon + 1), std::nullopt, fileBeingLoaded()};
    if (colon + 1 < definition.size()) call.argument = definition.substr(colon + 1);
    return call;
}

void KTCheckbox::setAttributes(const XMLAttributes& attributes) {
    KTNode::setAttributes(attributes);
    if (const std::string* definition = attributes.find("on_check")) onCheck_ = parseSceneCall(*definition);
    if (const std::string* definition = attributes.find("on_uncheck"))
        onUncheck_ = parseSceneCall(*definition);
}

void KTCheckbox::loadFromXMLElement(const XMLElement& element) {
    KTNode::loadFromXMLElement(element);
    if (!getChildByName("mark")) KTLogContentProblem("checkbox without a \"mark\" child", fileBeingLoaded());
}

void KTCheckbox::dataSourceChanged(bool bound) {
    const auto source = dataSource();
    if (!source) return;
    if (bound) {
        KTLog("KTCheckbox dataSource = %@ VALUE=%i", source->className(), source->boolValue() ? 1 : 0);
    } else {
        KTLog("KTCheckbox notify VALUE=%i", source->boolValue() ? 1 : 0);
    }
    setChecked(source->boolValue());
}

void KTCheckbox::onEnterStage() {
    KTNode::onEnterStage();
    KTShowLook(*this, "mark", checked_);
}

void KTCheckbox::draw() {
    if (!enabled() && dataObject_) {
        KTObjectRef result;
        dataObject_->perform(getter_, getterArgument_, &result);
        const auto value = std::dynamic_pointer_cast<KTDataSource>(result);
        setChecked(value ? value->boolValue() : result != nullptr);
    }
    KTNode::draw();
}

void KTCheckbox::mouseEnter() {
    KTShowOnlyLooks(*this, kLooks, {"active"});
    KTNode::mouseEnter();
}

void KTCheckbox::mouseLeave() {
    KTShowOnlyLooks(*this, kLooks, {"default"});
    KTNode::mouseLeave();
}

void KTCheckbox::buttonDown(ButtonName, CGPoint) {
    KTShowOnlyLooks(*this, kLooks, {"pressed"});
}

bool KTCheckbox::markShown() const {
    const auto mark = getChildByName("mark");
    return mark ? mark->visible() : checked_;
}

void KTCheckbox::buttonUp(ButtonName, CGPoint) {
    KTShowOnlyLooks(*this, kLooks, {"active"});
    if (markShown()) {
        toggle(onUncheck_, false);
    } else {
        toggle(onCheck_, true);
    }
}

// The state follows at once, also without a provider to announce it.
void KTCheckbox::toggle(const std::optional<SceneCall>& call, bool checked) {
    setChecked(checked);
    const auto owner = scene();
    if (call && owner) {
        KTLog("%@ %@ %@", owner->className(), call->operation, call->argument.value_or("(null)"));
        if (owner->respondsTo(call->operation)) {
            const bool takesArgument = call->operation.ends_with(':');
            owner->perform(call->operation,
                           takesArgument ? KTArgument(call->argument.value_or("")) : KTArgument());
        } else {
            KTLogContentProblem(
                "checkbox names no operation \"" + call->operation + "\" of " + owner->className(),
                call->file);
        }
    }
    if (const auto source = std::dynamic_pointer_cast<KTNumberDataSource>(dataSource()))
        source->setBool(checked);
}

}  // namespace kt
