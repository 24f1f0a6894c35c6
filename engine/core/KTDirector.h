#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/core/KTGeometry.h"
#include "engine/core/KTPlatform.h"
#include "engine/core/KTSourceBinding.h"

namespace kt {

class KTActionRunner;
class KTAudioControl;
class KTMessage;
class KTNumberDataSource;
class KTRenderer;
class KTScene;
class KTStateAnimator;

// Owns the window (through the platform layer), the renderer, the running scene, the scene queue and the
// handler message queue, and runs the frame loop: events, update, draw.
class KTDirector {
public:
    static KTDirector& shared();

    // The modules above the core plug in here.
    void setPlatform(std::unique_ptr<KTPlatform> platform);
    KTPlatform* platform() const { return platform_.get(); }
    void setRenderer(std::shared_ptr<KTRenderer> renderer);
    const std::shared_ptr<KTRenderer>& renderer() const { return renderer_; }
    void setActionRunner(std::shared_ptr<KTActionRunner> runner) { actionRunner_ = std::move(runner); }
    KTActionRunner* actionRunner() const { return actionRunner_.get(); }
    void setAudio(std::shared_ptr<KTAudioControl> audio) { audio_ = std::move(audio); }
    KTAudioControl* audio() const { return audio_.get(); }
    void setStateAnimator(std::shared_ptr<KTStateAnimator> animator) { stateAnimator_ = std::move(animator); }
    KTStateAnimator* stateAnimator() const { return stateAnimator_.get(); }
    // The settings' full-screen switch, kept in step with the window in both directions.
    void bindFullscreenSetting(const std::shared_ptr<KTNumberDataSource>& setting);

    // Automation: a fixed time step instead of the clock, and a call after every frame.
    void setFixedDeltaTime(std::optional<float> dt) { fixedDeltaTime_ = dt; }
    void setFrameObserver(std::function<void()> observer) { frameObserver_ = std::move(observer); }
    std::uint64_t frameCount() const { return frameCount_; }

    // Truncates "log.txt" in the per-user folder and logs from then on.
    void openLog();
    // Ends the running scene and drops every queue, module and hook; the next run starts afresh.
    void shutdown();

    CGSize size() const { return size_; }
    void setSize(CGSize size) { size_ = size; }
    CGSize windowSize() const { return fullscreen_ ? fsWindowSize_ : winWindowSize_; }
    // The windowed size, scaled down with its aspect ratio kept when it is taller than the usable desktop
    // (less the window's frame, once the window exists).
    void setWindowSize(CGSize size);
    // The pixels the logical screen is letterboxed into: the window's drawable, or the window size while
    // there is no window.
    CGSize viewportSize() const;
    CGSize desktopSize() const { return fsWindowSize_; }
    bool devMode() const { return devMode_; }
    void setDevMode(bool devMode) { devMode_ = devMode; }
    bool fullscreen() const { return fullscreen_; }
    void setFullscreen(bool fullscreen);
    const std::shared_ptr<KTScene>& currentScene() const { return currentScene_; }

    // Opens the window, fitted again with its frame once that is known.
    void createWindow();
    // Drawable pixels to logical coordinates through the letterbox, and back.
    CGPoint renderPointFromScreenPoint(CGPoint point) const;
    CGPoint screenPointFromRenderPoint(CGPoint point) const;

    void runWithScene(std::shared_ptr<KTScene> scene);
    void setScene(std::shared_ptr<KTScene> scene);
    void setScene(std::shared_ptr<KTScene> scene, std::string firstState);
    void enqueueScene(std::shared_ptr<KTScene> scene) { scenesQueue_.push_back(std::move(scene)); }
    // Queues a loading screen that, while current, loads the files of the list (a property list holding an
    // array of resource names) in slices of about 100 ms per draw, then switches to the next queued scene.
    void preloadWithScene(std::shared_ptr<KTScene> scene, const std::string& listFile);
    void nextScene();
    std::size_t queuedSceneCount() const { return scenesQueue_.size(); }

    void addMessage(std::shared_ptr<const KTMessage> message) { mqueue_.push_back(std::move(message)); }
    void processMessages();

    bool running() const { return running_; }
    void close() { running_ = false; }
    void startTextInput();
    void stopTextInput();

    // The frame loop and its steps.
    void run();
    void runFrame();
    void doUpdate();
    void doDraw();
    void handleEvent(const KTEvent& event);

private:
    KTDirector() = default;

    struct Letterbox {
        CGPoint offset;
        CGSize fitted;
    };
    Letterbox letterbox() const;
    void notifyFullscreenChange();
    float frameDeltaTime();
    std::uint32_t ticks() const;
    void preloadSlice(KTScene& scene);

    std::unique_ptr<KTPlatform> platform_;
    std::shared_ptr<KTRenderer> renderer_;
    std::shared_ptr<KTActionRunner> actionRunner_;
    std::shared_ptr<KTAudioControl> audio_;
    std::shared_ptr<KTStateAnimator> stateAnimator_;
    KTSourceBinding<KTNumberDataSource> fullscreenSetting_;
    std::optional<float> fixedDeltaTime_;
    std::function<void()> frameObserver_;
    std::uint64_t frameCount_ = 0;

    bool running_ = false;
    CGSize size_{1024, 768};
    CGSize fsWindowSize_{1024, 768};
    CGSize winWindowSize_{1024, 768};
    // The windowed size asked for, before the fit.
    CGSize requestedWindowSize_{1024, 768};
    bool fullscreen_ = false;
    std::shared_ptr<KTScene> currentScene_;
    std::deque<std::shared_ptr<const KTMessage>> mqueue_;
    bool devMode_ = false;
    std::uint32_t prevTicks_ = 0;
    std::deque<std::shared_ptr<KTScene>> scenesQueue_;
    bool switchSceneFlag_ = false;
};

}  // namespace kt
