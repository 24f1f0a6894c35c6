// The list and the progress bar, the controls that show a provider's values.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/controls/KTList.h"
#include "engine/controls/KTListItem.h"
#include "engine/controls/KTProgress.h"
#include "engine/core/KTDataSource.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTNotificationCenter.h"
#include "engine/core/KTScene.h"
#include "engine/render/KTImageData.h"
#include "engine/services/KTUserManager.h"
#include "tests/engine/services/ProfileTest.h"
#include "tests/support/RecordingRenderer.h"

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

// Also keeps the texture rectangle of each image and the triangles' corners.
class GeometryRenderer : public test::RecordingRenderer {
public:
    using RecordingRenderer::setImageData;
    void setImageData(const KTImageData* image, const CGRect& rect) override {
        RecordingRenderer::setImageData(image, rect);
        textureRects.push_back(rect);
    }
    void drawTri(const KTVertex& a, const KTVertex& b, const KTVertex& c) override {
        RecordingRenderer::drawTri(a, b, c);
        area += std::abs((b.p.x - a.p.x) * (c.p.y - a.p.y) - (c.p.x - a.p.x) * (b.p.y - a.p.y)) / 2;
        ++triangles;
    }

    std::vector<CGRect> textureRects;
    float area = 0;
    int triangles = 0;
};

class ProgressTest : public test::EngineTest {
protected:
    ProgressTest() {
        KTDirector::shared().setRenderer(renderer);
        // Nodes take the director's renderer when they are made.
        bar = KTNode::node<KTProgress>();
        bar->setPosition({10, 20});
        bar->setSize({80, 40});
        bar->setImageData(std::make_shared<KTImageData>(nullptr, CGRect{{0, 0}, {80, 40}}));
    }

    std::vector<std::string> drawnRects() {
        renderer->calls.clear();
        bar->draw();
        std::vector<std::string> rects;
        for (const auto& call : renderer->calls) {
            if (call.starts_with("drawRect")) rects.push_back(call);
        }
        return rects;
    }

    std::shared_ptr<GeometryRenderer> renderer = std::make_shared<GeometryRenderer>();
    std::shared_ptr<KTProgress> bar;
};

TEST_F(ProgressTest, ClampsTheValueItIsGivenOrFollowsAndMovesTheEdge) {
    auto edge = KTNode::node();
    bar->addChild(edge, "edge");
    bar->setValue(1.7f);
    EXPECT_EQ(bar->value(), 1.0f);
    EXPECT_EQ(edge->position(), (CGPoint{80, 20}));
    bar->setValue(-0.2f);
    EXPECT_EQ(bar->value(), 0.0f);
    bar->setVertical(true);
    bar->setProgress(0.25f);
    EXPECT_EQ(edge->position(), (CGPoint{40, 30}));

    auto source = std::make_shared<KTNumberDataSource>(0.4);
    bar->setDataSource(source);
    EXPECT_FLOAT_EQ(bar->value(), 0.4f);
    source->setFloat(2);
    EXPECT_FLOAT_EQ(bar->value(), 1.0f) << "a provider's value is clamped too";
}

TEST_F(ProgressTest, StraightBarsRevealTheLeftOrBottomPart) {
    bar->setValue(0);
    EXPECT_EQ(drawnRects(), std::vector<std::string>{"drawRect 10 20 0 40"});
    bar->setValue(1);
    EXPECT_EQ(drawnRects(), std::vector<std::string>{"drawRect 10 20 80 40"});
    EXPECT_EQ(renderer->textureRects.back(), (CGRect{{0, 0}, {1, 1}}));

    bar->setVertical(true);
    bar->setValue(0.25f);
    EXPECT_EQ(drawnRects(), std::vector<std::string>{"drawRect 10 50 80 10"});
    EXPECT_EQ(renderer->textureRects.back(), (CGRect{{0, 0.75f}, {1, 0.25f}}));
}

// Slices of at most an eighth of a turn that together cover exactly the revealed share of the image.
TEST_F(ProgressTest, PieBarsCoverTheirShareOfTheImageWithTriangles) {
    bar->setCircular(true);
    const std::pair<float, int> slices[] = {{0, 0}, {0.125f, 1}, {0.375f, 3}, {0.5f, 4}, {1, 8}};
    for (const auto& [value, triangles] : slices) {
        SCOPED_TRACE(::testing::Message() << "value " << value);
        renderer->triangles = 0;
        renderer->area = 0;
        bar->setValue(value);
        bar->draw();
        EXPECT_EQ(renderer->triangles, triangles);
        EXPECT_NEAR(renderer->area, value * 80 * 40, 0.5f);
    }
}

}  // namespace
}  // namespace kt
