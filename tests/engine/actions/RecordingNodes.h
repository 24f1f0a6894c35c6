#pragma once

#include <string>
#include <vector>

#include "engine/core/KTScene.h"

namespace kt::test {

// A node with operations that data can call by name ("bump", "note:"); it writes down each call.
class RecordingNode : public KTNode {
public:
    KT_CLASS(RecordingNode)

    void bump() { calls.emplace_back("bump"); }
    void note(const std::string& text) { calls.push_back("note " + text); }

    std::vector<std::string> calls;
};

// A scene that handler messages can reach with "note:"; it writes down each call.
class RecordingScene : public KTScene {
public:
    KT_CLASS(RecordingScene)

    void note(const std::string& text) { calls.push_back("note " + text); }

    std::vector<std::string> calls;
};

}  // namespace kt::test
