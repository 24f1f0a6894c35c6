#include "game/progress/Powerup.h"

#include <algorithm>

#include "engine/core/KTFormat.h"
#include "engine/core/KTLocale.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTNode.h"
#include "engine/core/KTProgressIndicator.h"
#include "engine/services/KTUser.h"
#include "game/BallLetter.h"

namespace moonbrook {

namespace {

using kt::KTPlist;

constexpr const char* kPurchasesKey = "powerups";
constexpr const char* kMaxLevelKey = "maxLevel";
constexpr int kLevelImages = 3;

std::string levelImageName(int level) {
    return kt::KTFormat("button_l_%i", level);
}

// Shows the image of the charged level only.
void showLevelImage(kt::KTNode& button, int charged) {
    for (int level = 1; level <= kLevelImages; ++level) {
        if (auto image = button.getChildByName(levelImageName(level))) image->setVisible(false);
    }
    if (auto image = button.getChildByName(levelImageName(charged))) image->setVisible(true);
}

void setTooltip(kt::KTNode& button, const std::string& text) {
    if (auto tooltip = button.getChildByName("tooltip")) {
        if (auto label = tooltip->getChildByName("text")) label->setText(text);
    }
}

void setProgress(kt::KTNode& button, float value) {
    auto* bar = dynamic_cast<kt::KTProgressIndicator*>(button.getChildByName("progress").get());
    if (bar) bar->setProgress(value);
}

}  // namespace

Powerup::Powerup(std::string name, KTPlist levels, std::shared_ptr<kt::KTUser> user)
    : name_(std::move(name)), levels_(std::move(levels)), user_(user) {
    if (user) {
        const KTPlist& stored = user->objectForKey(kPurchasesKey)[name_];
        if (stored.isDictionary()) userData_ = stored;
    }
    if (!userData_.contains(kMaxLevelKey)) userData_[kMaxLevelKey] = 0;
    setMaxLevel(
        static_cast<int>(std::clamp<std::int64_t>(userData_[kMaxLevelKey].intValue(), 0, levelCount())));
}

void Powerup::setMaxLevel(int level) {
    maxLevel_ = level;
    maxLevelText_->setString(kt::KTFormat("%@", maxLevel_));
}

bool Powerup::isEnoughMoneyForUpgrade() const {
    if (maxLevel_ >= levelCount()) return true;
    const auto user = user_.lock();
    const int price = upgradePrice();
    return user && price != 0 && price <= user->tokens();
}

void Powerup::upgrade() {
    const auto user = user_.lock();
    if (!user || maxLevel_ >= levelCount()) return;
    const int price = upgradePrice();
    if (price == 0 || user->tokens() < price) return;
    setMaxLevel(maxLevel_ + 1);
    user->subTokens(price);
}

void Powerup::degrade() {
    const auto user = user_.lock();
    if (!user || maxLevel_ <= 0) return;
    const int refund = degradePrice();
    setMaxLevel(maxLevel_ - 1);
    user->addTokens(refund);
}

void Powerup::save() {
    const auto user = user_.lock();
    if (!user) return;
    userData_[kMaxLevelKey] = maxLevel_;
    KTPlist purchases = user->objectForKey(kPurchasesKey);
    purchases.mutableDictionary();
    purchases[name_] = userData_;
    user->setObject(std::move(purchases), kPurchasesKey);
    kt::KTLog("saving powerup %@, maxLevel=%i", name_, maxLevel_);
}

void Powerup::reset() {
    filling_ = 0;
    level_ = 0;
}

std::string Powerup::levelButtonName() const {
    return levelImageName(level_);
}

void Powerup::setButton(const std::shared_ptr<kt::KTNode>& button) {
    button_ = button;
    if (!button) return;
    kt::KTLog("Powerup setButton: %@", name_);
    showLevelImage(*button, level_);
    setTooltip(*button, kt::KTLocalize("Not yet available."));
    setProgress(*button, 0);
    fillFor(0);
}

void Powerup::fillFor(float seconds) {
    const auto button = button_.lock();
    if (maxLevel_ <= 0) {
        if (button) {
            setProgress(*button, 0);
            if (auto image = button->getChildByName(levelButtonName())) image->setEnabled(false);
        }
        return;
    }
    if (level_ >= maxLevel_) return;
    const float time = fillingTime();
    // A level without a charging time is ready at once.
    const float filled = time > 0 ? filling_ + seconds / time : 1.0f;
    std::string tooltip;
    if (filled < 1) {
        filling_ = filled;
        tooltip = level_ > 0 ? kt::KTLocalize("Ready to use. Next level loading...")
                             : kt::KTLocalize("Loading...");
    } else {
        ++level_;
        filling_ = 0;
        tooltip = level_ < maxLevel_ ? kt::KTLocalize("Ready to use. Next level loading...")
                                     : kt::KTLocalize("Ready to use.");
        if (button) {
            if (auto image = button->getChildByName(levelButtonName())) {
                const kt::CGSize size = button->size();
                image->startEffect(kFilledEffect, {size.width / 2, size.height / 2});
            }
        }
    }
    if (!button) return;
    setTooltip(*button, tooltip);
    setProgress(*button, filling_);
    showLevelImage(*button, level_);
}

void Powerup::fillWith(char16_t ballType) {
    const KTPlist& bought = options();
    const float speedup = static_cast<float>(bought["speedup"].realValue());
    for (const KTPlist& letters : bought["speedup_types"].arrayValue()) {
        if (ballLetterOf(letters.stringValue()) == ballType) fillFor(speedup);
    }
}

std::string Powerup::description() const {
    return kt::KTFormat("<Powerup name: %@ level: %@ / %@ filling: %f>", name_, level_, maxLevel_, filling_);
}

}  // namespace moonbrook
