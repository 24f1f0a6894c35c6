#include "engine/actions/KTFloatProperty.h"

#include <map>
#include <utility>

#include "engine/core/KTNode.h"

namespace kt {
namespace {

using PropertyKey = std::pair<const KTClass*, std::string>;

std::map<PropertyKey, KTFloatProperty, std::less<>>& registry() {
    static std::map<PropertyKey, KTFloatProperty, std::less<>> properties;
    return properties;
}

}  // namespace

bool KTFloatProperty::define(const KTClass& cls, std::string name, Getter getter, Setter setter) {
    registry().insert_or_assign(PropertyKey{&cls, std::move(name)},
                                KTFloatProperty(std::move(getter), std::move(setter)));
    return true;
}

const KTFloatProperty* KTFloatProperty::find(const KTNode& node, std::string_view name) {
    const auto& properties = registry();
    for (const KTClass* cls = &node.objectClass(); cls; cls = cls->superclass()) {
        const auto found = properties.find(PropertyKey{cls, std::string(name)});
        if (found != properties.end()) return &found->second;
    }
    return nullptr;
}

}  // namespace kt
