#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kt {

class KTClass;
class KTNode;

// A float property of a node class that actions can read and write by name, found along the class chain.
// Register one next to its class:
//     KT_REGISTER_FLOAT_PROPERTY(KTDragBox, "displacementX", displacementX, setDisplacementX);
class KTFloatProperty {
public:
    using Getter = std::function<float(const KTNode&)>;
    using Setter = std::function<void(KTNode&, float)>;

    KTFloatProperty(Getter getter, Setter setter) : getter_(std::move(getter)), setter_(std::move(setter)) {}

    float get(const KTNode& node) const { return getter_(node); }
    void set(KTNode& node, float value) const { setter_(node, value); }

    static bool define(const KTClass& cls, std::string name, Getter getter, Setter setter);
    template <typename T>
    static bool define(std::string name, float (T::*getter)() const, void (T::*setter)(float));
    // The property of that name on the node's class or the nearest superclass that has one; null when none.
    static const KTFloatProperty* find(const KTNode& node, std::string_view name);

private:
    Getter getter_;
    Setter setter_;
};

template <typename T>
bool KTFloatProperty::define(std::string name, float (T::*getter)() const, void (T::*setter)(float)) {
    return define(
        T::staticClass(), std::move(name),
        [getter](const KTNode& node) { return (static_cast<const T&>(node).*getter)(); },
        [setter](KTNode& node, float value) { (static_cast<T&>(node).*setter)(value); });
}

}  // namespace kt

#define KT_REGISTER_FLOAT_PROPERTY(ClassName, name, getter, setter)        \
    [[maybe_unused]] static const bool kRegistered##ClassName##_##getter = \
        ::kt::KTFloatProperty::define<ClassName>(name, &ClassName::getter, &ClassName::setter)
