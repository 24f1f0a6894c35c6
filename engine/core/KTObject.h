#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <variant>

namespace kt {

class KTClass;
class KTObject;

using KTObjectRef = std::shared_ptr<KTObject>;
// What an operation called by name receives: nothing, a string, or an object.
using KTArgument = std::variant<std::monostate, std::string, KTObjectRef>;
// An operation called by name; operations that produce nothing answer none.
using KTOperation = std::function<KTObjectRef(KTObject& target, const KTArgument& argument)>;

// Root of every object that data can name: nodes, scenes, controllers, value providers.
class KTObject : public std::enable_shared_from_this<KTObject> {
public:
    virtual ~KTObject() = default;

    static const KTClass& staticClass();
    virtual const KTClass& objectClass() const { return staticClass(); }

    bool isKindOf(const KTClass& cls) const;
    const std::string& className() const;

    // Looks the operation up along the class chain and calls it; false when the object lacks it.
    bool perform(std::string_view operation, const KTArgument& argument = {}, KTObjectRef* result = nullptr);
    bool respondsTo(std::string_view operation) const;

    template <typename T>
    std::shared_ptr<T> sharedAs() {
        return std::static_pointer_cast<T>(shared_from_this());
    }
};

// A class known by name: its superclass, its constructor (none for abstract classes) and its operations.
class KTClass {
public:
    using Factory = std::function<KTObjectRef()>;

    KTClass(std::string name, const KTClass* superclass, Factory factory);
    KTClass(const KTClass&) = delete;
    KTClass& operator=(const KTClass&) = delete;

    // Defines a class and registers it under its name, with a constructor when T can be built without
    // arguments.
    template <typename T>
    static KTClass& define(std::string name, const KTClass& superclass);
    static const KTClass* named(std::string_view name);

    const std::string& name() const { return name_; }
    const KTClass* superclass() const { return superclass_; }
    bool isSubclassOf(const KTClass& other) const;
    KTObjectRef create() const { return factory_ ? factory_() : nullptr; }
    // Looks along the class chain.
    const KTOperation* findOperation(std::string_view name) const;

    KTClass& operation(std::string name, KTOperation operation);
    // Binds a member function taking nothing, a string, or an object, and returning nothing or an object.
    template <typename T, typename Result, typename... Args>
    KTClass& operation(std::string name, Result (T::*member)(Args...));

private:
    static void registerClass(KTClass& cls);

    std::string name_;
    const KTClass* superclass_;
    Factory factory_;
    std::map<std::string, KTOperation, std::less<>> operations_;
};

namespace detail {

template <typename Parameter>
bool argumentAs(const KTArgument& argument, std::remove_cvref_t<Parameter>& out) {
    using Wanted = std::remove_cvref_t<Parameter>;
    if constexpr (std::is_same_v<Wanted, std::string>) {
        if (const auto* text = std::get_if<std::string>(&argument)) {
            out = *text;
            return true;
        }
        return false;
    } else {
        const auto* object = std::get_if<KTObjectRef>(&argument);
        if (!object) return false;
        out = std::dynamic_pointer_cast<typename Wanted::element_type>(*object);
        return true;
    }
}

}  // namespace detail

template <typename T>
KTClass& KTClass::define(std::string name, const KTClass& superclass) {
    Factory factory;
    if constexpr (std::is_default_constructible_v<T> && !std::is_abstract_v<T>) {
        factory = [] { return std::make_shared<T>(); };
    }
    static KTClass cls(std::move(name), &superclass, std::move(factory));
    registerClass(cls);
    return cls;
}

template <typename T, typename Result, typename... Args>
KTClass& KTClass::operation(std::string name, Result (T::*member)(Args...)) {
    static_assert(sizeof...(Args) <= 1, "operations called by name take at most one argument");
    return operation(std::move(name), [member](KTObject& target, const KTArgument& argument) -> KTObjectRef {
        T& self = static_cast<T&>(target);
        auto call = [&](auto&&... values) -> KTObjectRef {
            if constexpr (std::is_void_v<Result>) {
                (self.*member)(values...);
                return nullptr;
            } else {
                return (self.*member)(values...);
            }
        };
        if constexpr (sizeof...(Args) == 0) {
            return call();
        } else {
            using Parameter = std::remove_cvref_t<std::tuple_element_t<0, std::tuple<Args...>>>;
            Parameter value{};
            if (!detail::argumentAs<Parameter>(argument, value)) return nullptr;
            return call(value);
        }
    });
}

}  // namespace kt

// Declares the class's own entry in the class registry; place it in the public section of the class.
#define KT_CLASS(ClassName)                             \
    static const ::kt::KTClass& staticClass();          \
    const ::kt::KTClass& objectClass() const override { \
        return staticClass();                           \
    }

// Registers the class when the program starts, next to the definition of staticClass().
#define KT_REGISTER_CLASS(ClassName) \
    [[maybe_unused]] static const ::kt::KTClass& kRegistered##ClassName = ClassName::staticClass()
