#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pugixml.hpp>
#include <string>

#include "engine/core/KTNode.h"
#include "engine/core/KTPlist.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/TBXML.h"
#include "engine/core/XMLElement.h"

namespace kt {
namespace {

// One panel of a typical screen: a container with a state, a transition, images, a text and a button.
std::string scenePanel(int index) {
    const std::string n = std::to_string(index);
    return "  <!-- panel " + n + " -->\n  <container name=\"panel" + n + "\" x=\"" + n +
           "\" y=\"12.5\" w=\"300\" h=\"200\" color=\"ffffffff\">\n"
           "    <state name=\"visible\" x=\"100\" y=\"40\" visible=\"YES\" on_end=\"panelShown:" +
           n +
           "\"/>\n"
           "    <transition from=\"default\" to=\"visible\" time=\"0.35\"/>\n"
           "    <image name=\"back\" filename=\"data/gfx/menu/panel_back.png\" x=\"0\" y=\"0\"/>\n"
           "    <image name=\"icon\" filename=\"data/gfx/menu/icon_" +
           n +
           ".png\" x=\"12\" y=\"12\" w=\"46\" h=\"46\"/>\n"
           "    <text name=\"title\" font=\"data/fonts/menu.xml\" text=\"Level " +
           n +
           "\" align=\"center\" x=\"70\" y=\"20\"/>\n"
           "    <button name=\"play\" on_click=\"startGame:level_" +
           n + "\" x=\"200\" y=\"150\" w=\"90\" h=\"40\"/>\n  </container>\n";
}

// A scene-like document of at least the given size.
std::string sceneLikeDocument(std::size_t bytes) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<scene w=\"1024\" h=\"768\">\n";
    for (int i = 0; text.size() < bytes; ++i)
        text += scenePanel(i);
    return text + "</scene>\n";
}

void BM_ParseSceneXML(benchmark::State& state) {
    const std::string text = sceneLikeDocument(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        TBXML document(text);
        benchmark::DoNotOptimize(document.rootXMLElement());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseSceneXML)->Arg(200 << 10)->Arg(5 << 20)->Unit(benchmark::kMicrosecond);

// The same documents through pugixml's minimal mode, the yardstick for the reader above.
void BM_ParseSceneXMLWithPugixml(benchmark::State& state) {
    const std::string text = sceneLikeDocument(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        pugi::xml_document document;
        benchmark::DoNotOptimize(document.load_buffer(text.data(), text.size(), pugi::parse_minimal));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseSceneXMLWithPugixml)->Arg(200 << 10)->Arg(5 << 20)->Unit(benchmark::kMicrosecond);

void BM_BuildElementTree(benchmark::State& state) {
    const std::string text = sceneLikeDocument(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(XMLElement::fromString(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_BuildElementTree)->Arg(200 << 10)->Arg(5 << 20)->Unit(benchmark::kMicrosecond);

// A cached scene file of 500 nodes (100 panels of a container, a state and four children, the latter
// plain containers here since the media node classes are not part of the core).
void BM_LoadCachedSceneOf500Nodes(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / "moonbrook-bench";
    std::filesystem::create_directories(folder);
    std::string text = "<scene>\n";
    for (int i = 0; i < 100; ++i) {
        const std::string n = std::to_string(i);
        text += "<container name=\"panel" + n + "\" x=\"" + n +
                "\" w=\"300\" h=\"200\"><state name=\"visible\" x=\"100\"/>"
                "<transition from=\"default\" to=\"visible\" time=\"0.35\"/>"
                "<container name=\"back\"/><container name=\"icon\" w=\"46\" h=\"46\"/>"
                "<container name=\"title\" text=\"Level " +
                n + "\"/><container name=\"play\" on_click=\"startGame:level_" + n + "\"/></container>\n";
    }
    std::ofstream(folder / "scene500.xml") << text << "</scene>\n";
    KTResourceManager& resources = KTResourceManager::shared();
    resources.setBaseDataPath(folder.string() + "/");
    resources.getXML("scene500.xml");
    for (auto _ : state)
        benchmark::DoNotOptimize(KTNode::nodeFromFile("scene500.xml"));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadCachedSceneOf500Nodes)->Unit(benchmark::kMicrosecond);

// A profile-sized property list written out and read back.
void BM_PlistRoundTrip(benchmark::State& state) {
    KTPlist users;
    for (int u = 0; u < 9; ++u) {
        KTPlist& user = users["users"].mutableArray().emplace_back();
        user["name"] = "Player " + std::to_string(u);
        user["tokens"] = 1200 + u;
        for (int level = 0; level < 80; ++level)
            user["best_times"]["level_" + std::to_string(level)] = 61.5;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(KTPlist::fromXML(users.toXML()));
}
BENCHMARK(BM_PlistRoundTrip)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kt
