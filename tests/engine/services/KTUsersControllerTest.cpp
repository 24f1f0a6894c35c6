#include <gtest/gtest.h>

#include "engine/core/KTControllerManager.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTState.h"
#include "engine/services/KTUserManager.h"
#include "engine/services/KTUsersController.h"
#include "tests/engine/services/ProfileTest.h"

namespace kt {
namespace {

class UsersControllerTest : public test::ProfileTest {
protected:
    UsersControllerTest() {
        KTDirector::shared().setAudio(audio);
        for (const char* name :
             {"default", "users", "add_user", "too_many_users", "username_used", "add_first_user"}) {
            auto state = std::make_shared<KTState>();
            state->name = name;
            scene->addState(state);
        }
        runScene(scene);
        scene->setState("default");
    }

    KTUsersController& controller() {
        return static_cast<KTUsersController&>(
            *KTControllerManager::shared().getControllerByName("KTUsersController"));
    }
    static KTUserManager& users() { return KTUserManager::sharedManager(); }
    std::string state() const { return scene->currentState()->name; }
    void typeName(const std::string& name) { controller().newUserName()->setString(name); }

    std::shared_ptr<test::RecordingAudio> audio = std::make_shared<test::RecordingAudio>();
    std::shared_ptr<KTScene> scene = KTNode::node<KTScene>();
};

TEST_F(UsersControllerTest, AddsTheTypedNameTrimmedAndGreetsIt) {
    typeName("  Ada Lovelace\t");
    controller().addUser();
    ASSERT_EQ(users().count(), 1u);
    EXPECT_EQ(users().selectedUser()->name(), "Ada Lovelace");
    EXPECT_EQ(controller().newUserName()->stringValue(), "");
    EXPECT_EQ(controller().currentUserName()->stringValue(), "Ada Lovelace");
    EXPECT_EQ(controller().welcomeUserText()->stringValue(), "Welcome, Ada Lovelace");
    EXPECT_EQ(state(), "users");
}

TEST_F(UsersControllerTest, BlankTakenAndTooManyNamesAddNothing) {
    typeName("   ");
    controller().addUser();
    controller().addFirstUser();
    EXPECT_EQ(users().count(), 0u);
    EXPECT_EQ(state(), "default");

    users().add("Brom");
    typeName("Brom");
    controller().addUser();
    EXPECT_EQ(users().count(), 1u);
    EXPECT_EQ(state(), "username_used");

    users().setUsersCountLimit(2);
    controller().switchToAddUserState();
    EXPECT_EQ(state(), "add_user");
    users().add("Cel");
    typeName("Dag");
    controller().switchToAddUserState();
    EXPECT_EQ(state(), "too_many_users");
    scene->setState("users");
    controller().addUser();
    EXPECT_EQ(state(), "too_many_users");
    EXPECT_EQ(users().count(), 2u);

    // The menu's limit of eight holds also where the manager would take more.
    users().setUsersCountLimit(9);
    for (int i = 2; i < 8; ++i)
        users().add("Player " + std::to_string(i));
    controller().switchToAddUserState();
    EXPECT_EQ(state(), "too_many_users");
}

TEST_F(UsersControllerTest, DeletingTheLastProfileAsksForAFirstOne) {
    typeName("Ada");
    controller().addFirstUser();
    EXPECT_EQ(state(), "default");
    users().add("Brom");
    controller().deleteSelectedUser();
    EXPECT_EQ(state(), "users");
    EXPECT_EQ(controller().currentUserName()->stringValue(), "Ada");
    controller().deleteSelectedUser();
    EXPECT_EQ(state(), "add_first_user");
    EXPECT_EQ(users().count(), 0u);
}

}  // namespace
}  // namespace kt
