#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "engine/core/KTMessage.h"
#include "engine/core/KTNode.h"
#include "engine/core/KTObject.h"
#include "engine/core/KTScene.h"

namespace kt {
namespace {

class Greeter : public KTNode {
public:
    KT_CLASS(Greeter)
    std::string said;
    void hello() { said += "hello;"; }
    void say(const std::string& words) { said += words + ";"; }
    std::shared_ptr<KTNode> makeChild() { return KTNode::node(); }
};

const KTClass& Greeter::staticClass() {
    static const KTClass& cls = KTClass::define<Greeter>("Greeter", KTNode::staticClass())
                                    .operation("hello", &Greeter::hello)
                                    .operation("say:", &Greeter::say)
                                    .operation("makeChild", &Greeter::makeChild);
    return cls;
}
KT_REGISTER_CLASS(Greeter);

class LoudGreeter : public Greeter {
public:
    KT_CLASS(LoudGreeter)
    void shout(const std::string& words) { said += words + "!;"; }
};

const KTClass& LoudGreeter::staticClass() {
    static const KTClass& cls = KTClass::define<LoudGreeter>("LoudGreeter", Greeter::staticClass())
                                    .operation("say:", &LoudGreeter::shout);
    return cls;
}
KT_REGISTER_CLASS(LoudGreeter);

TEST(ClassRegistryTest, ClassesAreFoundByNameAndBuildInstancesOfThemselves) {
    const KTClass* cls = KTClass::named("LoudGreeter");
    ASSERT_NE(cls, nullptr);
    const KTObjectRef object = cls->create();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->className(), "LoudGreeter");
    EXPECT_TRUE(object->isKindOf(Greeter::staticClass()));
    EXPECT_TRUE(object->isKindOf(KTNode::staticClass()));
    EXPECT_FALSE(object->isKindOf(KTScene::staticClass()));
    EXPECT_EQ(KTClass::named("NoSuchClass"), nullptr);
}

// An argument of the wrong kind reaches no operation; an operation's answer comes back as an object.
TEST(ClassRegistryTest, OperationsAreInheritedAndOverriddenAlongTheChain) {
    LoudGreeter greeter;
    EXPECT_TRUE(greeter.perform("hello"));
    EXPECT_TRUE(greeter.perform("say:", std::string("hi")));
    EXPECT_TRUE(greeter.perform("say:", KTObjectRef{}));
    EXPECT_TRUE(greeter.respondsTo("setText:"));
    EXPECT_FALSE(greeter.perform("nothing"));
    EXPECT_EQ(greeter.said, "hello;hi!;");
    KTObjectRef result;
    EXPECT_TRUE(greeter.perform("makeChild", {}, &result));
    EXPECT_NE(std::dynamic_pointer_cast<KTNode>(result), nullptr);
}

struct DefinitionCase {
    const char* definition;
    const char* controller;
    const char* name;
    std::optional<std::string> argument;
};

TEST(HandlerDefinitionTest, SplitsControllerOperationAndArgument) {
    const DefinitionCase cases[] = {
        {"closePopup", "", "closePopup", std::nullopt},
        {"startGame:level_01", "", "startGame:", "level_01"},
        {"startGame:", "", "startGame:", ""},
        {"KTUsersController selectUser:2", "KTUsersController", "selectUser:", "2"},
        {"Ctrl op extra words", "Ctrl", "op", std::nullopt},
        {"say:good evening", "say:good", "evening", std::nullopt},
        {"a:b:c", "", "a:", "b"},
        {"", "", "", std::nullopt}};
    for (const DefinitionCase& c : cases) {
        const KTMessage message(c.definition);
        EXPECT_EQ(message.controllerName(), c.controller) << c.definition;
        EXPECT_EQ(message.name(), c.name) << c.definition;
        EXPECT_EQ(message.argument(), c.argument) << c.definition;
    }
}

}  // namespace
}  // namespace kt
