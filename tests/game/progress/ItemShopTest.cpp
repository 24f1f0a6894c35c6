#include <gtest/gtest.h>

#include <string>

#include "engine/services/KTUser.h"
#include "engine/services/KTUserManager.h"
#include "game/progress/ItemShop.h"
#include "tests/game/GameContentTest.h"

namespace moonbrook {
namespace {

using kt::KTPlist;

// Two sets: the swing of the second set hangs on the tree variant of the first that the player chose.
constexpr const char* kPrices = R"(<?xml version="1.0"?><plist version="1.0"><dict>
<key>fence_mint</key><dict><key>price</key><integer>40</integer></dict>
<key>fence_peppermint</key><dict><key>price</key><integer>50</integer></dict>
<key>tree_lollipop</key><dict><key>price</key><integer>60</integer></dict>
<key>tree_cotton</key><dict><key>price</key><integer>60</integer></dict>
<key>bench_wood</key><dict><key>price</key><integer>30</integer></dict>
<key>well_stone</key><dict/>
<key>swing_lollipop</key><dict><key>price</key><integer>90</integer>
  <key>requires</key><array><string>tree_lollipop</string></array></dict>
<key>swing_cotton</key><dict><key>price</key><integer>90</integer>
  <key>requires</key><array><string>tree_cotton</string></array></dict>
<key>pond_moon</key><dict><key>price</key><integer>100</integer></dict>
<key>cottage_gingerbread</key><dict><key>price</key><integer>150</integer></dict>
<key>castle_pink</key><dict><key>price</key><integer>200</integer></dict>
</dict></plist>)";

constexpr const char* kOrder = R"(<?xml version="1.0"?><plist version="1.0"><array>
<string>fence</string><string>tree</string><string>bench</string><string>well</string>
<string>swing</string><string>pond</string><string>cottage</string><string>castle</string>
</array></plist>)";

class ItemShopTest : public test::GameContentTest {
protected:
    ItemShopTest() {
        writeFile(ItemCatalogue::kPricesFile, kPrices);
        writeFile(ItemCatalogue::kOrderFile, kOrder);
    }

    static ItemShop& shop() { return ItemShop::currentShop(); }
    kt::KTUser& playerWithPlates(int plates) {
        auto& player = addPlayer("Ada");
        player.setAmount(plates, ItemShop::kCurrency);
        return player;
    }
    static std::size_t ownedCount(const KTPlist& profile) { return profile[ItemShop::kOwnedKey].size(); }
};

TEST_F(ItemShopTest, APurchaseSpendsThePriceOnceAndIsSavedAtOnce) {
    auto& player = playerWithPlates(100);
    EXPECT_EQ(shop().buyItem("fence_mint"), ItemShop::Purchase::bought);
    EXPECT_EQ(player.amountOfResource("plates"), 60);

    const KTPlist saved = savedFile()["users"].at(0);
    EXPECT_EQ(saved["plates"].intValue(), 60);
    EXPECT_EQ(saved["items"], KTPlist(KTPlist::Array{"fence_mint"}));

    // Again, and another variant of the same item: nothing changes.
    EXPECT_EQ(shop().buyItem("fence_mint"), ItemShop::Purchase::alreadyOwned);
    EXPECT_EQ(shop().buyItem("fence_peppermint"), ItemShop::Purchase::notOffered);
    EXPECT_EQ(player.amountOfResource("plates"), 60);
    EXPECT_EQ(ownedCount(player.options()), 1u);
}

TEST_F(ItemShopTest, TooFewPlatesOrAnUnknownKeyBuyNothing) {
    auto& player = playerWithPlates(49);
    EXPECT_EQ(shop().buyItem("fence_peppermint"), ItemShop::Purchase::notEnoughPlates);
    // An unknown key has no price; it must not be free.
    EXPECT_EQ(shop().buyItem("rocket_ship"), ItemShop::Purchase::notOffered);
    EXPECT_EQ(player.amountOfResource("plates"), 49);
    EXPECT_EQ(ownedCount(player.options()), 0u);
    EXPECT_EQ(ownedCount(savedFile()["users"].at(0)), 0u);

    // A variant without a price costs nothing.
    EXPECT_EQ(shop().buyItem("well_stone"), ItemShop::Purchase::bought);
    EXPECT_EQ(player.amountOfResource("plates"), 49);
}

TEST_F(ItemShopTest, AVariantIsOfferedOnlyOnTheVariantItBuildsOn) {
    auto& player = playerWithPlates(1000);
    EXPECT_EQ(shop().offeredVariants("tree"), (std::vector<std::string>{"tree_lollipop", "tree_cotton"}));
    EXPECT_TRUE(shop().offeredVariants("swing").empty());
    EXPECT_EQ(shop().buyItem("swing_cotton"), ItemShop::Purchase::notOffered);

    shop().buyItem("tree_cotton");
    EXPECT_EQ(shop().offeredVariants("swing"), std::vector<std::string>{"swing_cotton"});
    EXPECT_EQ(shop().buyItem("swing_lollipop"), ItemShop::Purchase::notOffered);
    EXPECT_EQ(shop().buyItem("swing_cotton"), ItemShop::Purchase::bought);
    EXPECT_EQ(player.amountOfResource("plates"), 850);
}

TEST_F(ItemShopTest, DamagedFilesLeaveTheShopEmptyAndAreLoggedOnce) {
    for (const auto& [file, content] : std::vector<std::pair<std::string, std::string>>{
             {ItemCatalogue::kPricesFile, "<plist><dict><key>fence_mint</key>"},
             {ItemCatalogue::kPricesFile, "<plist><array><string>fence_mint</string></array></plist>"},
             {ItemCatalogue::kOrderFile,
              "<plist><array><string>fence</string><integer>3</integer></array></plist>"},
         }) {
        SCOPED_TRACE(content);
        writeFile(ItemCatalogue::kPricesFile, kPrices);
        writeFile(ItemCatalogue::kOrderFile, kOrder);
        writeFile(file, content);
        restart();
        auto& player = playerWithPlates(1000);
        EXPECT_TRUE(shop().catalogue().empty());
        EXPECT_EQ(shop().itemForMenu(1), "");
        EXPECT_EQ(shop().currentSet(), 0);
        EXPECT_EQ(shop().buyItem("fence_mint"), ItemShop::Purchase::notOffered);
        EXPECT_EQ(player.amountOfResource("plates"), 1000);
    }
    // The second shop of the same damaged file writes nothing new.
    ItemShop::resetCurrentShop();
    shop();
    EXPECT_EQ(countInLog("data/items.plist"), 2);
    EXPECT_EQ(countInLog("data/items_order.plist"), 1);
}

TEST_F(ItemShopTest, AProfileWithStrangeItemsOrPlatesPlaysOn) {
    writeUsersFile(R"(<?xml version="1.0"?><plist version="1.0"><dict>
<key>users</key><array>
  <dict><key>name</key><string>Ada</string><key>plates</key><string>lots</string>
        <key>items</key><array><string>spaceship_red</string><integer>7</integer><string>fence_mint</string></array></dict>
  <dict><key>name</key><string>Bo</string><key>plates</key><integer>80</integer><key>items</key><string>fence_mint</string></dict>
</array><key>selected_user_idx</key><string>0</string></dict></plist>)");
    EXPECT_EQ(shop().ownedItems(), (std::vector<std::string>{"spaceship_red", "fence_mint"}));
    EXPECT_EQ(shop().offeredVariants("tree").size(), 2u);
    EXPECT_EQ(shop().buyItem("tree_cotton"), ItemShop::Purchase::notEnoughPlates);

    kt::KTUserManager::sharedManager().selectByName("Bo");
    EXPECT_TRUE(shop().ownedItems().empty());
    EXPECT_EQ(shop().buyItem("fence_mint"), ItemShop::Purchase::bought);
    EXPECT_EQ(shop().ownedItems(), std::vector<std::string>{"fence_mint"});
}

}  // namespace
}  // namespace moonbrook
