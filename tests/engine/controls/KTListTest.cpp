#include <gtest/gtest.h>

#include "engine/controls/KTList.h"
#include "engine/controls/KTListItem.h"
#include "engine/core/KTNotificationCenter.h"
#include "engine/core/KTScene.h"
#include "engine/services/KTUserManager.h"
#include "tests/engine/services/ProfileTest.h"

namespace kt {
namespace {

// Notes the selection the user manager holds when the list calls the scene.
class PickingScene : public KTScene {
public:
    KT_CLASS(PickingScene)

    void pick(const std::string& name) {
        picked = name;
        selectionWhenPicked = KTUserManager::sharedManager().selectedIdx();
    }

    std::string picked;
    int selectionWhenPicked = -2;
};

const KTClass& PickingScene::staticClass() {
    static const KTClass& cls = KTClass::define<PickingScene>("PickingScene", KTScene::staticClass())
                                    .operation("pick:", &PickingScene::pick);
    return cls;
}

class ListTest : public test::ProfileTest {
protected:
    ListTest() {
        scene->addChild(list);
        list->setAttributes({{"w", "200"},
                             {"item_height", "30"},
                             {"on_select", "pick:"},
                             {"selection_color", "FF0000"},
                             {"item_padding_left", "4"},
                             {"item_padding_top", "2"}});
        for (const char* name : {"Ada", "Brom", "Cel"})
            users().add(name);
        users().selectByName("Brom");
    }

    static KTUserManager& users() { return KTUserManager::sharedManager(); }
    KTListItem& line(std::size_t index) const {
        return static_cast<KTListItem&>(*list->children().objectAtIndex(index));
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> result;
        for (const auto& item : list->children())
            result.push_back(item->text());
        return result;
    }

    std::shared_ptr<PickingScene> scene = KTNode::node<PickingScene>();
    std::shared_ptr<KTList> list = KTNode::node<KTList>();
};

TEST_F(ListTest, ShowsTheProvidersEntriesAndSelection) {
    list->setDataSource(users().sharedAs<KTDataSource>());
    EXPECT_EQ(texts(), (std::vector<std::string>{"Ada", "Brom", "Cel"}));
    EXPECT_EQ(list->selectedIndex(), 1u);
    EXPECT_EQ(line(2).getRect(), (CGRect{{0, 60}, {200, 30}}));
}

TEST_F(ListTest, AClickTellsTheSceneThenTheProviderAndRebuildsTheLines) {
    list->setDataSource(users().sharedAs<KTDataSource>());
    auto clicked = list->children().objectAtIndex(2);
    clicked->buttonUp(ButtonName{}, {5, 5});
    EXPECT_EQ(scene->picked, "Cel");
    EXPECT_EQ(scene->selectionWhenPicked, 1);
    EXPECT_EQ(users().selectedUser()->name(), "Cel");
    EXPECT_EQ(savedFile()["selected_user_name"], KTPlist("Cel"));
    EXPECT_FALSE(list->hasChild(clicked.get()));
    EXPECT_EQ(list->selectedIndex(), 2u);

    users().add("Dov");
    EXPECT_EQ(texts().size(), 4u);
    EXPECT_EQ(list->selectedIndex(), 3u);
}

TEST_F(ListTest, FillingAnnouncesNothing) {
    int announcements = 0;
    KTNotificationCenter::shared().addObserver(this, "", &users(),
                                               [&](const KTNotification&) { ++announcements; });
    list->fill(users());
    list->fill(users());
    KTNotificationCenter::shared().removeObserver(this);
    EXPECT_EQ(texts().size(), 3u);
    EXPECT_EQ(list->selectedIndex(), 1u);
    EXPECT_TRUE(scene->picked.empty());
    EXPECT_EQ(announcements, 0);
}

TEST_F(ListTest, DeletingTheSelectedLineClosesTheGap) {
    list->addItem("one");
    list->addItem("two");
    list->addItem("three");
    list->deleteSelectedItem();
    EXPECT_EQ(texts().size(), 3u);
    list->selectItem(&line(1), true);
    list->deleteSelectedItem();
    EXPECT_EQ(texts(), (std::vector<std::string>{"one", "three"}));
    EXPECT_EQ(line(1).position().y, 30);
    EXPECT_EQ(list->selectedIndex(), std::nullopt);
}

}  // namespace
}  // namespace kt
