#include <gtest/gtest.h>

#include "app/SceneDump.h"
#include "engine/core/KTState.h"
#include "tests/support/EngineTest.h"

namespace moonbrook {
namespace {

using SceneDumpTest = kt::test::EngineTest;

TEST_F(SceneDumpTest, DescribesTheSceneStateAndTheWholeTreeOrNullsWithoutAScene) {
    EXPECT_EQ(describeScene(nullptr),
              nlohmann::json::parse(R"({"class": null, "state": null, "tree": null})"));
    auto scene = runScene();
    auto panel = kt::KTNode::node();
    panel->setName("panel");
    panel->setPosition({10, 20.5f});
    panel->setSize({100, 50});
    panel->setVisible(false);
    auto open = std::make_shared<kt::KTState>();
    open->name = "open";
    panel->addState(open);
    auto button = kt::KTNode::node();
    button->setEnabled(false);
    panel->addChild(button, "ok");
    scene->addChild(panel);
    scene->setState("open", 0, true);

    const nlohmann::json dump = describeScene(scene.get());
    EXPECT_EQ(dump["class"], "KTScene");
    EXPECT_EQ(dump["state"], "open");
    const nlohmann::json& tree = dump["tree"];
    EXPECT_EQ(tree["size"], nlohmann::json::parse("[1024, 768]"));
    ASSERT_EQ(tree["children"].size(), 1u);
    const nlohmann::json expectedPanel = nlohmann::json::parse(R"({
        "class": "KTNode", "name": "panel", "position": [10, 20.5], "size": [100, 50],
        "visible": false, "enabled": true, "state": "open",
        "children": [{"class": "KTNode", "name": "ok", "position": [0, 0], "size": [0, 0],
                      "visible": true, "enabled": false, "state": null, "children": []}]
    })");
    EXPECT_EQ(tree["children"][0], expectedPanel);
}

}  // namespace
}  // namespace moonbrook
