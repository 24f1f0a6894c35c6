#include "engine/actions/KTActionsModule.h"

#include <memory>

#include "engine/actions/KTActionManager.h"
#include "engine/actions/KTAffineAnimation.h"
#include "engine/actions/KTStateTransitionAnimator.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTNodeFactory.h"

namespace kt {

void KTInstallActionsModule() {
    KTDirector& director = KTDirector::shared();
    director.setActionRunner(std::make_shared<KTActionManager>());
    director.setStateAnimator(std::make_shared<KTStateTransitionAnimator>());
    KTNodeFactory::shared().setAffineAnimationLoader([](const std::string& path, CGPoint pivot) {
        auto animation = KTAffineAnimation::affineAnimationFromFile(path);
        if (animation) animation->setPivot(pivot);
        return animation;
    });
}

}  // namespace kt
