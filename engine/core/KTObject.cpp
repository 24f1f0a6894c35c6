#include "engine/core/KTObject.h"

#include <unordered_map>

namespace kt {
namespace {

std::unordered_map<std::string_view, const KTClass*>& classRegistry() {
    static std::unordered_map<std::string_view, const KTClass*> registry;
    return registry;
}

}  // namespace

const KTClass& KTObject::staticClass() {
    static KTClass cls("KTObject", nullptr, nullptr);
    return cls;
}

bool KTObject::isKindOf(const KTClass& cls) const {
    return objectClass().isSubclassOf(cls);
}

const std::string& KTObject::className() const {
    return objectClass().name();
}

bool KTObject::perform(std::string_view operation, const KTArgument& argument, KTObjectRef* result) {
    const KTOperation* found = objectClass().findOperation(operation);
    if (!found) return false;
    KTObjectRef answer = (*found)(*this, argument);
    if (result) *result = std::move(answer);
    return true;
}

bool KTObject::respondsTo(std::string_view operation) const {
    return objectClass().findOperation(operation) != nullptr;
}

KTClass::KTClass(std::string name, const KTClass* superclass, Factory factory)
    : name_(std::move(name)), superclass_(superclass), factory_(std::move(factory)) {}

void KTClass::registerClass(KTClass& cls) {
    classRegistry()[cls.name()] = &cls;
}

const KTClass* KTClass::named(std::string_view name) {
    const auto& registry = classRegistry();
    const auto found = registry.find(name);
    return found == registry.end() ? nullptr : found->second;
}

bool KTClass::isSubclassOf(const KTClass& other) const {
    for (const KTClass* cls = this; cls; cls = cls->superclass_) {
        if (cls == &other) return true;
    }
    return false;
}

const KTOperation* KTClass::findOperation(std::string_view name) const {
    for (const KTClass* cls = this; cls; cls = cls->superclass_) {
        const auto found = cls->operations_.find(name);
        if (found != cls->operations_.end()) return &found->second;
    }
    return nullptr;
}

KTClass& KTClass::operation(std::string name, KTOperation operation) {
    operations_[std::move(name)] = std::move(operation);
    return *this;
}

}  // namespace kt
