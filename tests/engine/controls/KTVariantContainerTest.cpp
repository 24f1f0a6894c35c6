#include <gtest/gtest.h>

#include "engine/controls/KTVariantContainer.h"
#include "engine/core/KTDataSource.h"
#include "engine/services/KTUserManager.h"
#include "tests/engine/controls/ControlsSceneTest.h"

namespace kt {
namespace {

class VariantContainerTest : public test::ControlsSceneTest {
protected:
    static std::vector<std::string> shown(const KTNode& container) {
        std::vector<std::string> names;
        for (const auto& child : container.children()) {
            if (child->visible()) names.push_back(child->name());
        }
        return names;
    }
};

TEST_F(VariantContainerTest, TheProviderNamesTheShownChild) {
    KTUserManager::sharedManager().add("Ada");
    start();
    const auto stars = node<KTVariantContainer>("tokens_stars");
    EXPECT_EQ(shown(*stars), std::vector<std::string>{"0"});
    KTUserManager::sharedManager().selectedUser()->setTokens(2);
    EXPECT_EQ(shown(*stars), std::vector<std::string>{"2"});
    EXPECT_EQ(stars->selectedName(), "2");
    KTUserManager::sharedManager().selectedUser()->setTokens(7);
    EXPECT_TRUE(shown(*stars).empty());
}

TEST_F(VariantContainerTest, ANamedChildStartsItsEffectEveryTime) {
    writeFile("effects/spark.xml", "<container><container w=\"4\" h=\"4\"/></container>");
    start();
    const auto stars = node<KTVariantContainer>("tokens_stars");
    auto chosen = stars->children().objectAtIndex(1);
    chosen->setAttributes({{"name", "1"}, {"onActivateEffect", "effects/spark.xml"}});
    const std::size_t before = scene->children().count();
    stars->selectChildByName("1");
    stars->selectChildByName("1");
    EXPECT_EQ(scene->children().count(), before + 2);
    EXPECT_EQ(scene->children().lastObject()->position(), chosen->absoluteCenter());
}

TEST_F(VariantContainerTest, ARandomContainerSwitchesEachPeriodAndCarriesTheExcess) {
    start();
    const auto random = node<KTVariantContainer>("random_stars");
    EXPECT_EQ(shown(*random).size(), 1u);
    random->update(1.5f);
    random->update(0.7f);
    EXPECT_NEAR(random->timeSinceSwitch(), 0.2f, 1e-5);
    EXPECT_EQ(shown(*random).size(), 1u);

    auto empty = KTVariantContainer::variantContainer();
    empty->setAttributes({{"period", "1"}});
    empty->update(3);
    EXPECT_FALSE(empty->hasChildren()) << "one without children chooses nothing";
}

}  // namespace
}  // namespace kt
