#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace kt {
class KTScene;
}

namespace kt::fuzz {

// The engine as the program runs it headless, set up once per fuzzing process: the game's own content,
// actions, a renderer on the null back end, a per-user folder of its own, fixed time steps.
class FuzzEngine {
public:
    static FuzzEngine& shared();

    // Writes the input as the content file of that resource name and forgets what was read from it before;
    // answers the name.
    std::string writeInput(const std::string& name, const std::uint8_t* data, std::size_t size) const;
    // Updates and draws the running scene, each frame the given seconds long: long steps let one input
    // cover seconds of play in a few frames.
    void runFrames(int frames, float seconds = 1.0f / 60) const;
    const std::filesystem::path& userFolder() const { return userFolder_; }

    static std::string_view text(const std::uint8_t* data, std::size_t size) {
        return {reinterpret_cast<const char*>(data), size};
    }

private:
    FuzzEngine();

    std::filesystem::path userFolder_;
};

// An empty scene, the running one for as long as this lasts. Ending it with the input frees everything the
// input built before libFuzzer counts the allocations: a scene left running until the next input made most
// inputs look like leaks, and each suspected leak costs a full leak check of the heap.
class InputScene {
public:
    InputScene();
    ~InputScene();
    InputScene(const InputScene&) = delete;
    InputScene& operator=(const InputScene&) = delete;

    KTScene* operator->() const { return scene_.get(); }

private:
    std::shared_ptr<KTScene> scene_;
};

}  // namespace kt::fuzz
