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
    // An empty scene, made the running one.
    std::shared_ptr<KTScene> freshScene() const;
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

}  // namespace kt::fuzz
