#include "engine/core/KTNodeFactory.h"

#include <array>
#include <utility>

#include "engine/core/KTNode.h"

namespace kt {
namespace {

constexpr auto kClassForElement = std::to_array<std::pair<std::string_view, std::string_view>>({
    {"animation", "KTAnimation"},
    {"frame", "KTAnimationFrame"},
    {"container", "KTNode"},
    {"variant_container", "KTVariantContainer"},
    {"image", "KTImage"},
    {"image9", "KTImage9"},
    {"button", "KTButton"},
    {"checkbox", "KTCheckbox"},
    {"slider", "KTSlider"},
    {"particle_system", "KTParticleSystem"},
    {"particle_emitter", "KTParticleEmitter"},
    {"affine_animation", "KTAffineAnimationNode"},
    {"lightning", "KTLightning"},
    {"progress", "KTProgress"},
    {"list", "KTList"},
    {"sound", "KTSoundNode"},
    {"text", "KTText"},
    {"edit", "KTTextInput"},
    {"text_input", "KTTextInput"},
    {"fly", "KTFly"},
    {"dragbox", "KTDragBox"},
    {"drag_box", "KTDragBox"},
    {"boids", "KTBoids"},
});

}  // namespace

KTNodeFactory& KTNodeFactory::shared() {
    static KTNodeFactory factory;
    return factory;
}

std::string_view KTNodeFactory::classNameForElement(std::string_view elementName) {
    for (const auto& [element, className] : kClassForElement) {
        if (element == elementName) return className;
    }
    return {};
}

std::shared_ptr<KTNode> KTNodeFactory::generateNodeOfType(std::string_view elementName) const {
    const std::string_view className = classNameForElement(elementName);
    const KTClass* cls = className.empty() ? nullptr : KTClass::named(className);
    if (!cls || !cls->isSubclassOf(KTNode::staticClass())) return nullptr;
    return std::dynamic_pointer_cast<KTNode>(cls->create());
}

std::shared_ptr<KTAffineAnimation> KTNodeFactory::loadAffineAnimation(const std::string& path,
                                                                      CGPoint pivot) const {
    return affineAnimationLoader_ ? affineAnimationLoader_(path, pivot) : nullptr;
}

}  // namespace kt
