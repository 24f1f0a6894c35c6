#pragma once

#include <memory>
#include <string>

#include "engine/core/KTNode.h"

namespace kt {

// Shows one of its children at a time: the one named by a bound provider's value, or, without a provider,
// a random one every `period` seconds. A child's "onActivateEffect" starts whenever it is named, and an
// open tooltip of the previous child gives way to the new child's.
class KTVariantContainer : public KTNode {
public:
    KT_CLASS(KTVariantContainer)

    static std::shared_ptr<KTVariantContainer> variantContainer() { return node<KTVariantContainer>(); }

    float switchPeriod() const { return switchPeriod_; }
    float timeSinceSwitch() const { return t_; }
    // Every child of that name is shown, every other hidden.
    void selectChildByName(const std::string& name);
    void selectRandomChild();
    // The name of the first shown child; empty when none is shown.
    std::string selectedName() const;

    void setAttributes(const XMLAttributes& attributes) override;
    void onEnterStage() override;
    void update(float dt) override;

protected:
    void dataSourceChanged(bool bound) override;

private:
    float switchPeriod_ = 0;
    float t_ = 0;
};

}  // namespace kt
