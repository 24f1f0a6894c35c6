#include <gtest/gtest.h>

#include "engine/core/KTDataSource.h"
#include "engine/core/KTNode.h"
#include "engine/core/KTNotificationCenter.h"
#include "tests/support/EngineTest.h"

namespace kt {
namespace {

class DataSourceTest : public test::EngineTest {
protected:
    // Counts the "changed" notifications the provider sends.
    int& countChanges(KTDataSource& source) {
        KTNotificationCenter::shared().addObserver(this, "changed", &source,
                                                   [this](const KTNotification&) { ++changes; });
        return changes;
    }
    ~DataSourceTest() override { KTNotificationCenter::shared().removeObserver(this); }

    int changes = 0;
};

// A text's truth is the scene files' switch reading, checked with the text values.
TEST_F(DataSourceTest, IntegerAndTruthSettersAnnounceOnlyRealChangesAndTheOthersAlways) {
    KTNumberDataSource source(1);
    int& count = countChanges(source);
    source.setBool(true);
    source.setInt(1);
    EXPECT_EQ(count, 0);
    source.setInt(2);
    source.setBool(false);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(source.numberValue(), 0);
    source.setFloat(0);
    source.setData(0);
    EXPECT_EQ(count, 4);

    KTStringDataSource text("YES");
    EXPECT_TRUE(text.boolValue());
    countChanges(text);
    text.setString("NO");
    text.setString("NO");
    EXPECT_EQ(count, 6);
    EXPECT_FALSE(text.boolValue());
}

// Counts what its bound provider tells it.
class FollowingNode : public KTNode {
public:
    int bindings = 0;
    int changes = 0;

protected:
    void dataSourceChanged(bool bound) override { ++(bound ? bindings : changes); }
};

TEST_F(DataSourceTest, ANodeFollowsItsValueAndEnableProvidersApartAndForgetsThemWhenGone) {
    auto source = std::make_shared<KTNumberDataSource>(1);
    {
        auto node = std::make_shared<FollowingNode>();
        node->setDataSource(source);
        node->setEnableDataSource(source);
        source->setInt(0);
        EXPECT_EQ(node->bindings, 1);
        EXPECT_EQ(node->changes, 1);
        EXPECT_FALSE(node->enabled());

        node->setEnableDataSource(nullptr);
        source->setInt(2);
        EXPECT_EQ(node->changes, 2) << "dropping the enable binding keeps the value binding";
        EXPECT_FALSE(node->enabled()) << "but no longer follows for enabling";
        node->setEnableDataSource(source);
        EXPECT_TRUE(node->enabled()) << "binding again takes the provider's value at once";
        node->setDataSource(nullptr);
        source->setInt(3);
        EXPECT_EQ(node->changes, 2);
    }
    source->setInt(0);  // the destroyed node no longer listens
}

TEST_F(DataSourceTest, ANodeBoundAgainAfterItsProviderWentHearsNothingFromTheGoneProvidersAddress) {
    auto node = std::make_shared<FollowingNode>();
    auto gone = std::make_shared<KTNumberDataSource>(1);
    KTObject* const goneAddress = gone.get();
    node->setDataSource(gone);
    node->setEnableDataSource(gone);
    gone.reset();
    auto next = std::make_shared<KTNumberDataSource>(0);
    node->setDataSource(next);
    node->setEnableDataSource(next);
    EXPECT_FALSE(node->enabled());

    // What a provider made later at the same address would send.
    KTNotificationCenter::shared().post("changed", goneAddress);
    EXPECT_EQ(node->changes, 0);
    next->setInt(1);
    EXPECT_EQ(node->changes, 1);
    EXPECT_TRUE(node->enabled());
}

TEST_F(DataSourceTest, AnObserverMayLeaveWhileANotificationIsDelivered) {
    KTNumberDataSource source;
    int second = 0;
    auto& center = KTNotificationCenter::shared();
    center.addObserver(this, "changed", &source,
                       [&](const KTNotification&) { center.removeObserver(&second); });
    center.addObserver(&second, "changed", &source, [&](const KTNotification&) { ++second; });
    source.setData(1);
    EXPECT_EQ(second, 0);
}

}  // namespace
}  // namespace kt
