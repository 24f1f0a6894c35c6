#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "engine/core/KTGeometry.h"

namespace kt {

class KTAffineAnimation;
class KTDataSource;
class KTNode;

// Makes the node for an element of a scene file. The element names map to class names, and instances come
// from the class registry, so a node class becomes loadable as soon as it registers itself; names whose
// class is not registered (yet) give none.
//
// It also holds what scene files need from modules above the core: the affine animation loader (actions)
// and the frames-per-second provider of the render statistics (render).
class KTNodeFactory {
public:
    // Reads an affine animation file and gives the animation the pivot; none when the file cannot be read.
    using AffineAnimationLoader =
        std::function<std::shared_ptr<KTAffineAnimation>(const std::string& path, CGPoint pivot)>;

    static KTNodeFactory& shared();

    // A new node of the class the element name stands for (exact, case-sensitive names), or none.
    std::shared_ptr<KTNode> generateNodeOfType(std::string_view elementName) const;
    // The class name the factory uses for an element name; empty for names outside its table.
    static std::string_view classNameForElement(std::string_view elementName);

    void setAffineAnimationLoader(AffineAnimationLoader loader) {
        affineAnimationLoader_ = std::move(loader);
    }
    std::shared_ptr<KTAffineAnimation> loadAffineAnimation(const std::string& path, CGPoint pivot) const;
    // Bound by the attribute dataSource="fpsDataSource"; held weakly, its owner keeps it.
    void setFpsDataSource(const std::shared_ptr<KTDataSource>& source) { fpsDataSource_ = source; }
    std::shared_ptr<KTDataSource> fpsDataSource() const { return fpsDataSource_.lock(); }

private:
    AffineAnimationLoader affineAnimationLoader_;
    std::weak_ptr<KTDataSource> fpsDataSource_;
};

}  // namespace kt
