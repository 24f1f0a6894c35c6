#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "engine/core/KTDataSource.h"
#include "engine/core/KTPlist.h"

namespace kt {

// One player profile: a name and a free-form dictionary of options that the game fills with everything it
// keeps about the player. Resources are integer amounts stored under their name; each resource can also be
// watched as a shared text provider that follows the amount.
class KTUser : public KTObject {
public:
    KT_CLASS(KTUser)

    static constexpr std::string_view kTokens = "tokens";
    static constexpr std::string_view kTutorials = "tutorials";

    KTUser() = default;
    explicit KTUser(KTPlist options);

    // Exactly what is saved.
    const KTPlist& options() const { return options_; }
    const KTPlist& objectForKey(std::string_view key) const { return options_[key]; }
    void setObject(KTPlist value, std::string_view key);
    void removeObjectForKey(std::string_view key) { options_.erase(key); }
    void removeAllObjects();
    std::string name() const { return options_["name"].stringValue(); }

    // Amounts may go below 0: callers check before they spend. Every change posts "user_data_changed".
    int amountOfResource(std::string_view resource) const;
    void setAmount(int amount, std::string_view resource);
    void addAmount(int amount, std::string_view resource) {
        setAmount(amountOfResource(resource) + amount, resource);
    }
    void subAmount(int amount, std::string_view resource) { addAmount(-amount, resource); }
    // The same provider for every request, so a display bound to it sees each change.
    std::shared_ptr<KTStringDataSource> stringForResource(std::string_view resource);
    void updateStringForResource(std::string_view resource);

    int tokens() const { return amountOfResource(kTokens); }
    void setTokens(int amount) { setAmount(amount, kTokens); }
    void addTokens(int amount) { addAmount(amount, kTokens); }
    void subTokens(int amount) { subAmount(amount, kTokens); }
    std::shared_ptr<KTStringDataSource> tokensString() { return stringForResource(kTokens); }

    // Tutorials already handled for this player ("tutorials": name -> 1); each is shown once per player.
    bool tutorialHandled(std::string_view name) const;
    void setTutorialHandled(const std::string& name);
    void forgetTutorials();

private:
    KTPlist options_ = KTPlist::emptyDictionary();
    std::map<std::string, std::shared_ptr<KTStringDataSource>, std::less<>> resourceStrings_;
};

}  // namespace kt
