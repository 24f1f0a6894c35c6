#include "engine/controls/KTVariantContainer.h"

#include "engine/core/KTDataSource.h"
#include "engine/core/KTRandom.h"
#include "engine/core/KTScene.h"
#include "engine/core/KTTextValues.h"

namespace kt {

const KTClass& KTVariantContainer::staticClass() {
    static const KTClass& cls =
        KTClass::define<KTVariantContainer>("KTVariantContainer", KTNode::staticClass())
            .operation("selectChildByName:", &KTVariantContainer::selectChildByName)
            .operation("selectRandomChild", &KTVariantContainer::selectRandomChild);
    return cls;
}
KT_REGISTER_CLASS(KTVariantContainer);

// A provider decides alone; "period" counts only without one.
void KTVariantContainer::setAttributes(const XMLAttributes& attributes) {
    KTNode::setAttributes(attributes);
    if (dataSource()) return;
    if (const std::string* period = attributes.find("period")) {
        switchPeriod_ = static_cast<float>(KTLeadingReal(*period));
    }
}

void KTVariantContainer::dataSourceChanged(bool) {
    if (const auto source = dataSource()) selectChildByName(source->stringValue());
}

// The random switching runs while the container is on stage.
void KTVariantContainer::onEnterStage() {
    KTNode::onEnterStage();
    if (const auto source = dataSource()) {
        selectChildByName(source->stringValue());
    } else if (switchPeriod_ > 0) {
        selectRandomChild();
        scheduleUpdate();
    }
    t_ = 0;
}

void KTVariantContainer::selectChildByName(const std::string& name) {
    const auto owner = scene();
    Ref openTooltip;
    if (owner && owner->currentTooltip()) {
        for (const Ref& child : children()) {
            if (child->tooltip() == owner->currentTooltip()) {
                openTooltip = child->tooltip();
                break;
            }
        }
    }
    for (std::size_t i = 0; i < children().count(); ++i) {
        const Ref child = children().objectAtIndex(i);
        const bool chosen = child->name() == name;
        child->setVisible(chosen);
        if (!chosen) continue;
        if (openTooltip && child->tooltip() != openTooltip)
            owner->replaceCurrentTooltipWith(child->tooltip());
        if (const std::string* effect = child->attributes().find("onActivateEffect"); effect && owner) {
            owner->startEffect(*effect, child->absoluteCenter());
        }
    }
}

// Without children there is nothing to choose.
void KTVariantContainer::selectRandomChild() {
    const std::size_t count = children().count();
    if (count == 0) return;
    const std::size_t chosen = static_cast<std::size_t>(KTRandom::shared().next()) % count;
    for (const Ref& child : children())
        child->setVisible(false);
    const Ref child = children().objectAtIndex(chosen);
    child->setVisible(true);
    child->onEnterStage();
}

void KTVariantContainer::update(float dt) {
    t_ += dt;
    if (t_ >= switchPeriod_) {
        t_ -= switchPeriod_;
        selectRandomChild();
    }
}

std::string KTVariantContainer::selectedName() const {
    for (const Ref& child : children()) {
        if (child->visible()) return child->name();
    }
    return {};
}

}  // namespace kt
