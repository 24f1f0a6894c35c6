#include <gtest/gtest.h>

#include <limits>

#include "engine/actions/KTAffineAnimation.h"
#include "engine/core/KTScheduler.h"
#include "engine/render/KTAnimation.h"
#include "engine/render/KTAnimationFrame.h"
#include "engine/render/KTImageData.h"
#include "engine/render/KTSprite.h"
#include "tests/engine/render/RenderTest.h"

namespace kt::test {
namespace {

class KTSpriteTest : public RenderTest {
protected:
    std::shared_ptr<KTAnimation> makeAnimation(const std::string& name, int frames, float length, bool loop) {
        auto animation = KTAnimation::animation();
        animation->setName(name);
        animation->setLoop(loop);
        for (int i = 0; i < frames; ++i)
            animation->addFrame(nullptr, length);
        return animation;
    }
    std::shared_ptr<KTSprite> spriteOnStage(std::initializer_list<std::shared_ptr<KTAnimation>> animations) {
        auto sprite = KTSprite::sprite();
        for (const auto& animation : animations)
            sprite->addChild(animation);
        runScene()->addChild(sprite);
        return sprite;
    }
    void advance(float dt) {
        KTScheduler& scheduler = KTScheduler::shared();
        scheduler.addTargets();
        scheduler.update(dt);
        scheduler.removeTargets();
    }
};

TEST_F(KTSpriteTest, FinishedAnimationHandsOverToTheDefaultAndWithoutOneNothingShows) {
    const auto walk = makeAnimation("walk", 3, 0.1f, false);
    const auto sprite = spriteOnStage({makeAnimation("default", 1, 1, true), walk});
    EXPECT_EQ(sprite->currentAnimationName(), "default");
    sprite->setAnimation("walk");
    EXPECT_EQ(sprite->children().count(), 1u);
    for (int step = 0; step < 3; ++step)
        advance(0.1f);
    EXPECT_EQ(sprite->currentAnimationName(), "walk");
    EXPECT_EQ(walk->currentFrameIndex(), 2u);
    advance(0.01f);
    EXPECT_EQ(sprite->currentAnimationName(), "default");
    EXPECT_FALSE(walk->isOnStage());
    EXPECT_EQ(sprite->children().firstObject(), sprite->currentAnimation());

    const auto withoutDefault = spriteOnStage({makeAnimation("walk", 2, 0.1f, false)});
    EXPECT_FALSE(withoutDefault->currentAnimation());
    drawFrame();
    EXPECT_TRUE(backend->batches.empty()) << "a sprite without a default shows nothing of its own";
}

TEST_F(KTSpriteTest, LongUpdateSkipsFramesAndLoopsOfOneFrameOrWithoutLengthStayPut) {
    const auto spin = makeAnimation("spin", 5, 0.1f, true);
    const auto idle = makeAnimation("default", 1, 0.1f, true);
    const auto sprite = spriteOnStage({idle, spin});
    advance(0.35f);
    EXPECT_EQ(idle->currentFrameIndex(), 0u);
    sprite->setAnimation("spin");
    advance(0.35f);
    EXPECT_EQ(spin->currentFrameIndex(), 3u);
    advance(0.2f);
    EXPECT_EQ(spin->currentFrameIndex(), 0u);
    EXPECT_FLOAT_EQ(spin->t(), 0.55f);

    // A loop of frames without length stays put instead of hanging.
    for (const float length : {0.0f, -0.5f}) {
        const auto still = makeAnimation("still", 3, length, true);
        const auto stuck = spriteOnStage({makeAnimation("default", 1, 1, true), still});
        stuck->setAnimation("still");
        advance(0.1f);
        advance(0.1f);
        EXPECT_EQ(stuck->currentAnimationName(), "still");
    }
}

TEST_F(KTSpriteTest, TheStartingPhaseStaysWithinTheTimeShiftAndADamagedShiftGivesNoneOrADay) {
    const auto animation = makeAnimation("spin", 5, 0.1f, true);
    const struct {
        float shift;
        float longest;
    } cases[] = {{0.5f, 0.5f},
                 {-2.0f, 0.0f},
                 {std::numeric_limits<float>::quiet_NaN(), 0.0f},
                 {1e7f, 86400.0f},
                 {std::numeric_limits<float>::infinity(), 86400.0f}};
    for (const auto& [shift, longest] : cases) {
        SCOPED_TRACE(shift);
        animation->setMaxTimeShift(shift);
        animation->reset();
        EXPECT_GE(animation->t(), 0.0f);
        EXPECT_LE(animation->t(), longest);
        // A long shift still shifts.
        if (longest > 1) {
            EXPECT_GT(animation->t(), 0.0f);
        }
    }
}

TEST_F(KTSpriteTest, SettingTheRunningAnimationRestartsItAndUnknownNamesChangeNothing) {
    const auto spin = makeAnimation("spin", 3, 0.1f, true);
    const auto sprite = spriteOnStage({makeAnimation("default", 1, 1, true), spin});
    sprite->setAnimation("spin");
    advance(0.15f);
    EXPECT_EQ(spin->currentFrameIndex(), 1u);
    sprite->setAnimation("spin");
    EXPECT_EQ(spin->currentFrameIndex(), 0u);
    sprite->setAnimation("nothing");
    EXPECT_EQ(sprite->currentAnimation(), spin);
    sprite->setAnimationIfDefault("default");
    EXPECT_EQ(sprite->currentAnimation(), spin);
}

TEST_F(KTSpriteTest, AffineAnimationMovesAndTintsTheFrameAtTheAnimationsTimeOnly) {
    const auto idle = makeAnimation("default", 1, 1, true);
    idle->setSize({10, 10});
    KTAffineAnimationKey start;
    KTAffineAnimationKey end;
    end.t = 1;
    end.move = {100, 0};
    end.color = Color{0x00FFFFFF};
    idle->setAffineAnimation(std::make_shared<KTAffineAnimation>(std::vector{start, end}, false));
    spriteOnStage({idle});
    advance(0.5f);
    drawFrame();
    drawFrame();
    ASSERT_EQ(backend->batches.size(), 2u);
    const KTBackendVertex& corner = backend->batches[1].vertices[0];
    EXPECT_FLOAT_EQ(corner.x, 50);
    EXPECT_EQ(corner.a, 0x7F);
    EXPECT_EQ(render->color(), kColorWhite);
}

TEST_F(KTSpriteTest, SpriteFileGivesNamedAnimationsWithFramesInFileOrder) {
    writePng("gfx/a.png", 16, 8, 0xFFFFFFFF);
    writePng("gfx/b.png", 16, 8, 0xFF000000);
    writeFile("gfx/ball.sprite.xml", R"(<sprite w="32" h="32">
  <animation name="default" loop="1">
    <frame filename="gfx/a.png" length="0.2"/>
    <frame filename="gfx/b.png" length="0.3"/>
  </animation>
  <animation name="pop"><frame filename="gfx/b.png" length="0.1"/></animation>
</sprite>)");
    const auto sprite = KTNode::nodeFromFile<KTSprite>("gfx/ball.sprite.xml");
    EXPECT_EQ(sprite->animationNames(), (std::vector<std::string>{"default", "pop"}));
    runScene()->addChild(sprite);
    const auto animation = sprite->currentAnimation();
    ASSERT_TRUE(animation);
    EXPECT_FLOAT_EQ(animation->length(), 0.5f);
    EXPECT_TRUE(animation->loop());
    EXPECT_EQ(animation->size(), (CGSize{32, 32}));
    ASSERT_TRUE(animation->currentFrame());
    EXPECT_EQ(animation->currentFrame()->size(), (CGSize{16, 8}));

    drawFrame();
    ASSERT_EQ(backend->batches.size(), 1u);
    EXPECT_FLOAT_EQ(backend->batches[0].vertices[2].x, 32);
}

}  // namespace
}  // namespace kt::test
