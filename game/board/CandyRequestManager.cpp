#include "game/board/CandyRequestManager.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "engine/actions/KTCompositeActions.h"
#include "engine/actions/KTInstantActions.h"
#include "engine/actions/KTIntervalActions.h"
#include "engine/core/KTDataSource.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTNode.h"
#include "engine/core/KTPlist.h"
#include "engine/core/KTRandom.h"
#include "engine/render/KTImage.h"
#include "engine/render/KTSprite.h"
#include "game/BallLetter.h"
#include "game/board/CandyRequest.h"

namespace moonbrook {
namespace {

constexpr int kMinBatch = 10;
constexpr int kMaxBatch = 30;
constexpr int kCharacterCount = 8;
constexpr int kIdleAnimationCount = 5;
// The speech bubble appears this long after its character.
constexpr float kBubbleDelay = 1.5f;
// A character whose batch is complete celebrates this long, then walks off for as long again.
constexpr float kCelebrationTime = 2.0f;
constexpr float kWalkOffTime = 2.0f;
constexpr float kWalkOffDistance = 200.0f;

int clampedCount(std::int64_t count) {
    return static_cast<int>(
        std::clamp<std::int64_t>(count, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

std::string characterName(int idx) {
    return kt::KTFormat("candy_request_%i", idx);
}

}  // namespace

CandyRequestManager::CandyRequestManager() = default;

void CandyRequestManager::setCandyRequestorsContainer(std::shared_ptr<kt::KTNode> container, int idx) {
    if (idx < 0 || idx >= kSlotCount) return;
    if (container) container->removeAllChildren();
    slots_[static_cast<std::size_t>(idx)].container = std::move(container);
}

void CandyRequestManager::setReqs(const kt::KTPlist& reqs) {
    reqs_.clear();
    std::string description;
    for (const auto& [key, value] : reqs.dictionaryValue()) {
        // A key without a letter names no ball, and a request for it could never be served.
        if (key.empty()) continue;
        reqs_.push_back({ballLetterOf(key), clampedCount(value.intValue())});
        description +=
            kt::KTFormat("%@%c = %i", description.empty() ? "" : "; ", reqs_.back().type, reqs_.back().left);
    }
    reqsExists_ = std::ranges::any_of(reqs_, [](const Total& total) { return total.left > 0; });
    kt::KTLog("reqs: {%@}", description);
}

int CandyRequestManager::ballsRequested() const {
    int wanted = 0;
    for (const Total& total : reqs_)
        wanted += total.left;
    for (const Slot& slot : slots_)
        wanted += slot.request ? slot.request->count() : 0;
    return wanted;
}

bool CandyRequestManager::haveRequestForType(char16_t type) const {
    return std::ranges::any_of(
        slots_, [type](const Slot& slot) { return slot.request && slot.request->type() == type; });
}

bool CandyRequestManager::haveRequestorOf(int character) const {
    return std::ranges::any_of(slots_, [character](const Slot& slot) { return slot.character == character; });
}

bool CandyRequestManager::reqsCollected() const {
    const bool batchOpen =
        std::ranges::any_of(slots_, [](const Slot& slot) { return slot.request != nullptr; });
    const bool ballsLeft = std::ranges::any_of(reqs_, [](const Total& total) { return total.left > 0; });
    return !batchOpen && !ballsLeft;
}

void CandyRequestManager::update(float dt) {
    // A level without requests leaves the random generator alone.
    if (!reqsExists_) return;
    handOutBatches();
    playIdleAnimations(dt);
}

void CandyRequestManager::handOutBatches() {
    for (Total& total : reqs_) {
        if (total.left <= 0 || haveRequestForType(total.type)) continue;
        const int idx = freeSlot();
        if (idx < 0) continue;
        Slot& slot = slots_[static_cast<std::size_t>(idx)];
        slot.request =
            std::make_shared<CandyRequest>(total.type, std::min(kt::randi(kMinBatch, kMaxBatch), total.left));
        slot.character = chooseCharacter();
        showCharacter(idx, *slot.request);
        total.left -= slot.request->count();
    }
}

void CandyRequestManager::playIdleAnimations(float dt) {
    for (Slot& slot : slots_) {
        if (slot.character > 0) slot.ranim += dt;
        // The time keeps running while a character walks off, so the leaving one may still fidget once.
        if (slot.ranim > 2 + kt::randf(0, 2)) {
            const std::string animation = kt::KTFormat("random%i", kt::randi(1, kIdleAnimationCount));
            const auto character = std::dynamic_pointer_cast<kt::KTSprite>(
                slot.container ? slot.container->firstChild() : nullptr);
            if (character) character->setAnimation(animation);
            slot.ranim = 0;
        }
    }
}

int CandyRequestManager::freeSlot() const {
    for (int idx = 0; idx < kSlotCount; ++idx) {
        if (!slots_[static_cast<std::size_t>(idx)].request && !characterIn(idx)) return idx;
    }
    return -1;
}

int CandyRequestManager::chooseCharacter() const {
    // The other slot shows at most one character, so this ends.
    int character = kt::randi(1, kCharacterCount);
    while (haveRequestorOf(character))
        character = kt::randi(1, kCharacterCount);
    return character;
}

void CandyRequestManager::showCharacter(int idx, const CandyRequest& request) const {
    const Slot& slot = slots_[static_cast<std::size_t>(idx)];
    if (!slot.container) return;
    const auto character =
        kt::KTNode::nodeFromFile<kt::KTSprite>(kt::KTFormat("data/Characters/%i.sprite.xml", slot.character));
    slot.container->addChild(character, characterName(idx));
    character->setAnimation("appearance");

    const kt::KTNode::Ref bubble = character->getChildByName("request");
    if (!bubble) return;
    bubble->setState("hidden", 0);
    bubble->runAction(kt::KTSequence::actions(
        {kt::KTWait::waitFor(kBubbleDelay), kt::KTSetState::actionWithStateName("default")}));
    if (const kt::KTNode::Ref count = bubble->getChildByName("count"))
        count->setDataSource(request.countString());
    if (const kt::KTNode::Ref picture = bubble->getChildByName("type")) {
        picture->removeAllChildren();
        picture->addChild(
            kt::KTImage::imageFromFile(kt::KTFormat("data/gfx/balls/%c/01.png", request.type())));
    }
}

int CandyRequestManager::decCandyRequestForType(char16_t type) {
    const auto found = std::ranges::find_if(
        slots_, [type](const Slot& slot) { return slot.request && slot.request->type() == type; });
    if (found == slots_.end()) return -1;
    const int idx = static_cast<int>(found - slots_.begin());
    found->request->decCount();
    if (found->request->count() > 0) return idx;

    kt::KTLog("candy request complete! (type %c)", type);
    found->request.reset();
    sendCharacterAway(idx);
    found->character = -1;
    return idx;
}

void CandyRequestManager::sendCharacterAway(int idx) const {
    const kt::KTNode::Ref character = characterIn(idx);
    if (!character) return;
    if (const auto sprite = std::dynamic_pointer_cast<kt::KTSprite>(character))
        sprite->setAnimation("victory");
    if (const kt::KTNode::Ref bubble = character->getChildByName("request")) bubble->setState("hidden");
    const kt::CGPoint away{character->x(), character->y() + kWalkOffDistance};
    character->runAction(kt::KTSequence::actions({kt::KTWait::waitFor(kCelebrationTime),
                                                  kt::KTMoveTo::actionWithDuration(kWalkOffTime, away),
                                                  kt::KTRemove::action()}));
}

kt::KTNode::Ref CandyRequestManager::characterIn(int idx) const {
    const auto& container = slots_[static_cast<std::size_t>(idx)].container;
    return container ? container->getChildByName(characterName(idx)) : nullptr;
}

void CandyRequestManager::reset() {
    for (Slot& slot : slots_) {
        slot.request.reset();
        if (slot.container) slot.container->removeAllChildren();
        slot.container.reset();
        // The character leaves with its request.
        slot.character = -1;
        slot.ranim = 0;
    }
}

}  // namespace moonbrook
