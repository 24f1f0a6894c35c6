// Candy requests on the game's own characters from the built data tree, stepped with a fixed frame time.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/actions/KTActionManager.h"
#include "engine/actions/KTActionsModule.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTPlist.h"
#include "engine/core/KTRandom.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTState.h"
#include "engine/render/KTImage.h"
#include "engine/render/KTRenderModule.h"
#include "engine/render/KTSprite.h"
#include "engine/render/KTText.h"
#include "game/board/CandyRequest.h"
#include "game/board/CandyRequestManager.h"
#include "tests/engine/render/RenderTest.h"
#include "tests/support/DataFileTest.h"

namespace moonbrook::test {
namespace {

using kt::KTPlist;

constexpr float kFrame = 1.0f / 60;

class CandyRequestTest : public kt::test::DataFileTest {
protected:
    CandyRequestTest() {
        kt::KTInstallActionsModule();
        kt::KTInstallRenderModule(std::make_shared<kt::test::RecordingBackend>());
        kt::KTResourceManager::shared().setBaseDataPath(MOONBROOK_CONTENT_ROOT "/");
        for (int idx = 0; idx < 2; ++idx)
            manager->setCandyRequestorsContainer(containers[idx], idx);
    }

    // Frames of the running board: its manager first, then the actions.
    void play(float seconds) {
        for (float t = 0; t < seconds; t += kFrame) {
            manager->update(kFrame);
            kt::KTActionManager::shared().update(kFrame);
        }
    }

    kt::KTNode::Ref character(int idx) const {
        return containers[idx]->getChildByName(kt::KTFormat("candy_request_%i", idx));
    }
    kt::KTNode::Ref bubble(int idx) const { return character(idx)->getChildByName("request"); }
    std::string shownCount(int idx) const { return bubble(idx)->getChildByName("count")->text(); }
    // The ball letter whose picture the slot's bubble shows.
    char16_t shownType(int idx) const {
        const auto picture =
            std::static_pointer_cast<kt::KTImage>(bubble(idx)->getChildByName("type")->firstChild());
        for (const char16_t letter : std::u16string(u"abcdefgh")) {
            if (picture->image() ==
                kt::KTResourceManager::shared().getImage(kt::KTFormat("data/gfx/balls/%c/01.png", letter)))
                return letter;
        }
        return u'?';
    }
    int charactersShown() const {
        int shown = 0;
        for (int c = 1; c <= 8; ++c)
            shown += manager->haveRequestorOf(c) ? 1 : 0;
        return shown;
    }

    // Removes balls of the type until its open batch is complete; answers the batch size. An open batch is
    // not collected, even with nothing left to hand out.
    int completeBatch(char16_t type) {
        int balls = 0;
        while (manager->haveRequestForType(type)) {
            EXPECT_FALSE(manager->reqsCollected());
            EXPECT_GE(manager->decCandyRequestForType(type), 0);
            ++balls;
        }
        return balls;
    }

    std::shared_ptr<CandyRequestManager> manager = std::make_shared<CandyRequestManager>();
    std::vector<kt::KTNode::Ref> containers{kt::KTNode::node(), kt::KTNode::node()};
};

class BatchSizes : public CandyRequestTest, public ::testing::WithParamInterface<int> {};

TEST_P(BatchSizes, AreCappedByWhatIsLeftAndAtLeastTenBeforeThat) {
    const int total = GetParam();
    manager->setReqs(KTPlist(KTPlist::Dictionary{{"a", total}}));
    EXPECT_TRUE(manager->reqsExists());
    std::vector<int> batches;
    for (int frame = 0; frame < 20000 && !manager->reqsCollected(); ++frame) {
        play(kFrame);
        if (manager->haveRequestForType(u'a')) batches.push_back(completeBatch(u'a'));
    }
    ASSERT_TRUE(manager->reqsCollected());
    ASSERT_FALSE(batches.empty());
    int handedOut = 0;
    for (std::size_t i = 0; i < batches.size(); ++i) {
        handedOut += batches[i];
        EXPECT_LE(batches[i], 30);
        if (i + 1 < batches.size()) {
            EXPECT_GE(batches[i], 10) << "batch " << i;
        }
    }
    EXPECT_EQ(handedOut, total);
    if (total <= 10) {
        EXPECT_EQ(batches, std::vector<int>{total});
    }
}

INSTANTIATE_TEST_SUITE_P(Totals, BatchSizes, ::testing::Values(1, 7, 10, 31, 45, 200));

// A level without a request with a letter and a count above zero.
TEST_F(CandyRequestTest, NoRequestsCountAsCollectedAndShowNobody) {
    const KTPlist levels[] = {KTPlist(), KTPlist("a"), KTPlist::emptyDictionary(),
                              KTPlist(KTPlist::Dictionary{{"a", 0}, {"b", -3}}),
                              KTPlist(KTPlist::Dictionary{{"", 5}})};
    for (const KTPlist& reqs : levels) {
        SCOPED_TRACE(&reqs - levels);
        manager->setReqs(reqs);
        play(6);
        EXPECT_FALSE(manager->reqsExists());
        EXPECT_TRUE(manager->reqsCollected());
        EXPECT_EQ(manager->decCandyRequestForType(u'a'), -1);
        EXPECT_FALSE(containers[0]->hasChildren() || containers[1]->hasChildren());
    }
}

class BothSlots : public CandyRequestTest, public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(BothSlots, FillInOneFrameWithTwoTypesAndTwoCharacters) {
    kt::KTRandom::shared().seed(GetParam());
    manager->setReqs(KTPlist(KTPlist::Dictionary{{"a", 50}, {"b", 50}, {"c", 50}}));
    play(kFrame);
    ASSERT_TRUE(character(0) && character(1));
    EXPECT_EQ(shownType(0), u'a');
    EXPECT_EQ(shownType(1), u'b');
    EXPECT_EQ(charactersShown(), 2);
    EXPECT_EQ(manager->decCandyRequestForType(u'b'), 1);
    EXPECT_EQ(manager->decCandyRequestForType(u'c'), -1);
}

INSTANTIATE_TEST_SUITE_P(Seeds, BothSlots, ::testing::Range(1u, 41u));

// The character of a complete batch leaves its slot to a type not yet asked for.
TEST_F(CandyRequestTest, ACompleteCharacterCelebratesAndWalksOffDownwardsAndAThirdTypeTakesItsSlot) {
    manager->setReqs(KTPlist(KTPlist::Dictionary{{"a", 10}, {"b", 10}, {"c", 10}}));
    play(2);
    // Not requested yet: the ball is not counted, and the total stays whole.
    EXPECT_EQ(manager->decCandyRequestForType(u'c'), -1);
    const auto walker = std::static_pointer_cast<kt::KTSprite>(character(0));
    const kt::CGPoint start = walker->position();
    EXPECT_EQ(completeBatch(u'a'), 10);
    EXPECT_EQ(walker->currentAnimationName(), "victory");
    EXPECT_EQ(bubble(0)->currentState()->name, "hidden");
    EXPECT_EQ(charactersShown(), 1);

    play(3);
    EXPECT_GT(walker->y(), start.y);
    EXPECT_EQ(walker->x(), start.x);
    play(0.9f);
    EXPECT_FALSE(manager->haveRequestForType(u'c'));
    play(0.2f);
    EXPECT_EQ(walker->parent(), nullptr);
    EXPECT_TRUE(character(1));
    ASSERT_TRUE(manager->haveRequestForType(u'c'));
    EXPECT_EQ(shownType(0), u'c');
    EXPECT_EQ(completeBatch(u'c'), 10);
}

// More balls of the type are left than one batch, yet the other slot never asks for it.
TEST_F(CandyRequestTest, TheBubbleShowsTheBatchAfterItsCharacterWhichFidgetsWhileItWaits) {
    manager->setReqs(KTPlist(KTPlist::Dictionary{{"e", 50}}));
    play(kFrame);
    EXPECT_EQ(bubble(0)->currentState()->name, "hidden");
    EXPECT_EQ(shownType(0), u'e');
    const std::string batch = shownCount(0);
    play(1.6f);
    EXPECT_EQ(bubble(0)->currentState()->name, "default");

    EXPECT_EQ(manager->decCandyRequestForType(u'e'), 0);
    play(1.0f);
    EXPECT_EQ(shownCount(0), batch);
    play(0.9f);
    EXPECT_EQ(shownCount(0), std::to_string(std::stoi(batch) - 1));

    const auto waiting = std::static_pointer_cast<kt::KTSprite>(character(0));
    bool fidgeted = false;
    for (float t = 0; t < 4.1f; t += kFrame) {
        play(kFrame);
        fidgeted = fidgeted || waiting->currentAnimationName().starts_with("random");
    }
    EXPECT_TRUE(fidgeted);
    EXPECT_FALSE(character(1));
    EXPECT_EQ(completeBatch(u'e'), std::stoi(batch) - 1);
}

TEST_F(CandyRequestTest, ResetDropsRequestsCharactersAndContainers) {
    manager->setReqs(KTPlist(KTPlist::Dictionary{{"a", 50}, {"b", 50}}));
    play(kFrame);
    manager->reset();
    EXPECT_FALSE(containers[0]->hasChildren() || containers[1]->hasChildren());
    EXPECT_FALSE(manager->haveRequestForType(u'a') || manager->haveRequestForType(u'b'));
    EXPECT_EQ(charactersShown(), 0);
    EXPECT_EQ(manager->decCandyRequestForType(u'a'), -1);
    EXPECT_FALSE(manager->reqsCollected());

    // Without places for characters the requests still count balls.
    play(kFrame);
    EXPECT_FALSE(containers[0]->hasChildren());
    EXPECT_EQ(manager->decCandyRequestForType(u'b'), 1);
}

// The manager and its requests go while the bubble's count is still to change.
TEST_F(CandyRequestTest, ThePendingCountChangeSurvivesTheWholeManager) {
    manager->setReqs(KTPlist(KTPlist::Dictionary{{"a", 10}}));
    play(kFrame);
    const auto count = std::static_pointer_cast<kt::KTText>(bubble(0)->getChildByName("count"));
    manager->decCandyRequestForType(u'a');
    manager.reset();
    containers.clear();
    for (float t = 0; t < CandyRequest::kCountShowDelay + 0.1f; t += kFrame)
        kt::KTActionManager::shared().update(kFrame);
    EXPECT_EQ(count->text(), "9");
}

}  // namespace
}  // namespace moonbrook::test
