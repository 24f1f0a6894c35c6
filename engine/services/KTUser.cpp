#include "engine/services/KTUser.h"

#include "engine/core/KTFormat.h"
#include "engine/core/KTNotificationCenter.h"
#include "engine/services/KTUserManager.h"

namespace kt {

const KTClass& KTUser::staticClass() {
    static const KTClass& cls = KTClass::define<KTUser>("KTUser", KTObject::staticClass());
    return cls;
}
KT_REGISTER_CLASS(KTUser);

KTUser::KTUser(KTPlist options) : options_(std::move(options)) {
    options_.mutableDictionary();
}

void KTUser::setObject(KTPlist value, std::string_view key) {
    options_[key] = std::move(value);
    if (resourceStrings_.contains(key)) updateStringForResource(key);
}

void KTUser::removeAllObjects() {
    options_ = KTPlist::emptyDictionary();
    resourceStrings_.clear();
}

bool KTUser::tutorialHandled(std::string_view name) const {
    const KTPlist& tutorials = options_[kTutorials];
    return tutorials.isDictionary() && tutorials.contains(name);
}

void KTUser::setTutorialHandled(const std::string& name) {
    KTPlist tutorials = options_[kTutorials];
    if (!tutorials.isDictionary()) tutorials = KTPlist::emptyDictionary();
    tutorials[name] = 1;
    setObject(std::move(tutorials), kTutorials);
}

void KTUser::forgetTutorials() {
    setObject(KTPlist::emptyDictionary(), kTutorials);
}

int KTUser::amountOfResource(std::string_view resource) const {
    return static_cast<int>(options_[resource].intValue());
}

void KTUser::setAmount(int amount, std::string_view resource) {
    setObject(amount, resource);
    KTNotificationCenter::shared().post(KTUserManager::kUserDataChanged, &KTUserManager::sharedManager());
}

std::shared_ptr<KTStringDataSource> KTUser::stringForResource(std::string_view resource) {
    auto found = resourceStrings_.find(resource);
    if (found != resourceStrings_.end()) return found->second;
    auto text = std::make_shared<KTStringDataSource>(KTFormat("%i", amountOfResource(resource)));
    resourceStrings_.emplace(std::string(resource), text);
    return text;
}

void KTUser::updateStringForResource(std::string_view resource) {
    auto found = resourceStrings_.find(resource);
    if (found != resourceStrings_.end()) found->second->setString(KTFormat("%i", amountOfResource(resource)));
}

}  // namespace kt
