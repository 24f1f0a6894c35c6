#include "engine/core/KTDirector.h"

#include "engine/core/KTActionRunner.h"
#include "engine/core/KTAudioControl.h"
#include "engine/core/KTDataSource.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTMessage.h"
#include "engine/core/KTNotificationCenter.h"
#include "engine/core/KTPlist.h"
#include "engine/core/KTProgressIndicator.h"
#include "engine/core/KTRenderer.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTScene.h"
#include "engine/core/KTScheduler.h"
#include "engine/core/KTStateAnimator.h"

namespace kt {
namespace {

// Window sizes are whole pixels.
CGSize truncated(CGSize size) {
    return {static_cast<float>(static_cast<int>(size.width)), static_cast<float>(static_cast<int>(size.height))};
}

KTProgressIndicator* firstProgressIndicator(const KTScene& scene) {
    for (const KTNode::Ref& child : scene.children()) {
        if (auto* indicator = dynamic_cast<KTProgressIndicator*>(child.get())) return indicator;
    }
    return nullptr;
}

}  // namespace

KTDirector& KTDirector::shared() {
    static KTDirector director;
    return director;
}

void KTDirector::setPlatform(std::unique_ptr<KTPlatform> platform) {
    platform_ = std::move(platform);
    if (platform_) fsWindowSize_ = platform_->desktopSize();
}

void KTDirector::setRenderer(std::shared_ptr<KTRenderer> renderer) {
    renderer_ = std::move(renderer);
    if (renderer_) renderer_->setOrtho();
}

void KTDirector::bindFullscreenSetting(const std::shared_ptr<KTNumberDataSource>& setting) {
    fullscreenSetting_.bind(setting, KTDataSource::kChangedNotification,
                            [this](const KTNotification&) { notifyFullscreenChange(); });
}

void KTDirector::openLog() {
    KTLogger::shared().open(KTResourceManager::shared().getUserPath("log.txt"));
}

void KTDirector::shutdown() {
    if (currentScene_) currentScene_->onExitStage();
    currentScene_.reset();
    scenesQueue_.clear();
    mqueue_.clear();
    switchSceneFlag_ = false;
    running_ = false;
    KTScheduler::shared().removeAllTargets();
    bindFullscreenSetting(nullptr);
    frameObserver_ = nullptr;
    fixedDeltaTime_.reset();
    frameCount_ = 0;
    prevTicks_ = 0;
    fullscreen_ = false;
    actionRunner_.reset();
    audio_.reset();
    stateAnimator_.reset();
    renderer_.reset();
    platform_.reset();
}

void KTDirector::setWindowSize(CGSize size) {
    requestedWindowSize_ = size;
    winWindowSize_ = size;
    if (!platform_) return;
    const CGSize usable = platform_->usableWindowArea();
    KTLog("SPI_GETWORKAREA returns: %fx%f", usable.width, usable.height);
    // Both ways: a window wider than the desktop would leave part of itself, or its close button, off screen.
    float scale = 1;
    if (size.height > usable.height && usable.height > 0) scale = usable.height / size.height;
    if (size.width * scale > usable.width && usable.width > 0) scale = usable.width / size.width;
    if (scale < 1) winWindowSize_ = {size.width * scale, size.height * scale};
}

void KTDirector::setFullscreen(bool fullscreen) {
    if (fullscreen == fullscreen_) return;
    // The mode changes before the setting is told, so the setting's notification finds nothing to do.
    fullscreen_ = fullscreen;
    if (auto setting = fullscreenSetting_.source()) setting->setBool(fullscreen);
    if (platform_) platform_->setFullscreen(fullscreen, winWindowSize_);
    if (renderer_) renderer_->setOrtho();
}

void KTDirector::notifyFullscreenChange() {
    if (auto setting = fullscreenSetting_.source(); setting && setting->boolValue() != fullscreen_) {
        setFullscreen(setting->boolValue());
    }
}

void KTDirector::createWindow() {
    KTLog("createWindow start");
    if (!platform_) return;
    if (!platform_->hasWindow() && platform_->createWindow(truncated(winWindowSize_))) {
        // The frame is known only now that the window shows.
        setWindowSize(requestedWindowSize_);
        platform_->placeWindow(truncated(winWindowSize_));
    }
    const std::string& title = KTResourceManager::shared().appName();
    if (!title.empty()) {
        KTLog("setting win title: %@", title);
        platform_->setWindowTitle(title);
    }
    if (const auto icon = KTResourceManager::shared().getPath("data/gfx/icon.png"))
        platform_->setWindowIcon(*icon);
    if (auto setting = fullscreenSetting_.source()) setFullscreen(setting->boolValue());
}

CGSize KTDirector::viewportSize() const {
    return platform_ && platform_->hasWindow() ? platform_->drawableSize() : windowSize();
}

KTDirector::Letterbox KTDirector::letterbox() const {
    const CGSize window = viewportSize();
    CGSize fitted = window;
    if (window.width / window.height >= size_.width / size_.height) {
        fitted.width = window.height * size_.width / size_.height;
    } else {
        fitted.height = window.width * size_.height / size_.width;
    }
    return {{(window.width - fitted.width) * 0.5f, (window.height - fitted.height) * 0.5f}, fitted};
}

CGPoint KTDirector::renderPointFromScreenPoint(CGPoint point) const {
    const Letterbox box = letterbox();
    return {(point.x - box.offset.x) * size_.width / box.fitted.width,
            (point.y - box.offset.y) * size_.height / box.fitted.height};
}

CGPoint KTDirector::screenPointFromRenderPoint(CGPoint point) const {
    const Letterbox box = letterbox();
    return {point.x * box.fitted.width / size_.width + box.offset.x,
            point.y * box.fitted.height / size_.height + box.offset.y};
}

void KTDirector::runWithScene(std::shared_ptr<KTScene> scene) {
    running_ = true;
    enqueueScene(std::move(scene));
    nextScene();
    run();
}

void KTDirector::setScene(std::shared_ptr<KTScene> scene) {
    enqueueScene(std::move(scene));
    switchSceneFlag_ = true;
}

void KTDirector::setScene(std::shared_ptr<KTScene> scene, std::string firstState) {
    if (scene) scene->setFirstState(std::move(firstState));
    setScene(std::move(scene));
}

void KTDirector::preloadWithScene(std::shared_ptr<KTScene> scene, const std::string& listFile) {
    if (!scene) return;
    std::vector<std::string> files;
    if (const auto path = KTResourceManager::shared().getPath(listFile)) {
        if (const auto list = KTPlist::readFile(*path)) {
            for (const KTPlist& entry : list->arrayValue()) {
                if (entry.isString()) files.push_back(entry.stringValue());
            }
        }
    }
    scene->setPreloadScene(true);
    scene->setPreloadList(std::move(files));
    scene->setPreloadPosition(0);
    enqueueScene(std::move(scene));
}

void KTDirector::nextScene() {
    if (currentScene_) currentScene_->onExitStage();
    currentScene_.reset();
    if (scenesQueue_.empty()) return;
    currentScene_ = std::move(scenesQueue_.front());
    scenesQueue_.pop_front();
    if (!currentScene_) return;
    currentScene_->onEnterStage();
    if (!currentScene_->firstState().empty()) currentScene_->setState(currentScene_->firstState());
}

void KTDirector::processMessages() {
    while (!mqueue_.empty()) {
        const std::shared_ptr<const KTMessage> message = std::move(mqueue_.front());
        mqueue_.pop_front();
        // A handler may switch the scene (a loading step does): the scene stays alive until it returns.
        const std::shared_ptr<KTScene> scene = currentScene_;
        message->runAt(scene.get());
    }
}

void KTDirector::startTextInput() {
    if (platform_) platform_->startTextInput();
}

void KTDirector::stopTextInput() {
    if (platform_) platform_->stopTextInput();
}

void KTDirector::run() {
    running_ = true;
    while (running_)
        runFrame();
}

void KTDirector::runFrame() {
    if (platform_) {
        KTEvent event;
        while (platform_->pollEvent(event))
            handleEvent(event);
    }
    doUpdate();
    doDraw();
    ++frameCount_;
    if (frameObserver_) frameObserver_();
}

std::uint32_t KTDirector::ticks() const {
    return platform_ ? platform_->ticks() : prevTicks_;
}

float KTDirector::frameDeltaTime() {
    const std::uint32_t now = ticks();
    const std::uint32_t elapsed = now - prevTicks_;
    prevTicks_ = now;
    return fixedDeltaTime_ ? *fixedDeltaTime_ : static_cast<float>(elapsed) / 1000.0f;
}

void KTDirector::doUpdate() {
    const float dt = frameDeltaTime();
    if (switchSceneFlag_) {
        nextScene();
        switchSceneFlag_ = false;
    }
    processMessages();
    KTScheduler& scheduler = KTScheduler::shared();
    scheduler.update(dt);
    scheduler.addTargets();
    scheduler.removeTargets();
    if (actionRunner_) actionRunner_->update(dt);
    if (audio_) audio_->playSamples();
}

void KTDirector::doDraw() {
    if (currentScene_ && currentScene_->preloadScene()) preloadSlice(*currentScene_);
    // The running scene is visited even without a renderer, so that nodes that finished still leave the tree.
    if (renderer_) renderer_->begin();
    if (const std::shared_ptr<KTScene> scene = currentScene_) scene->visit();
    if (renderer_) renderer_->end();
}

void KTDirector::preloadSlice(KTScene& scene) {
    constexpr std::uint32_t kSliceMilliseconds = 99;
    const std::uint32_t start = ticks();
    const std::vector<std::string>& files = scene.preloadList();
    KTProgressIndicator* progress = firstProgressIndicator(scene);
    while (scene.preloadPosition() < files.size()) {
        KTResourceManager::shared().preloadFile(files[scene.preloadPosition()]);
        scene.setPreloadPosition(scene.preloadPosition() + 1);
        if (progress) {
            progress->setProgress(static_cast<float>(scene.preloadPosition()) /
                                  static_cast<float>(files.size()));
        }
        if (ticks() - start > kSliceMilliseconds) return;
    }
    switchSceneFlag_ = true;
}

void KTDirector::handleEvent(const KTEvent& event) {
    const std::shared_ptr<KTScene> scene = currentScene_;
    auto pointer = [this] {
        return renderPointFromScreenPoint(platform_ ? platform_->mousePosition() : CGPointZero);
    };
    auto button = [&event] {
        switch (event.mouseButton) {
            case 2:
                return msMiddle;
            case 3:
                return msRight;
            default:
                return msLeft;
        }
    };
    switch (event.type) {
        case KTEvent::Type::quit:
            close();
            break;
        case KTEvent::Type::focusGained:
            if (scene) scene->onActivate();
            if (audio_) audio_->setMute(false);
            break;
        case KTEvent::Type::focusLost:
            if (scene) scene->onDeactivate();
            if (audio_) audio_->setMute(true);
            break;
        case KTEvent::Type::keyDown:
            KTLog("KEYDOWN: %s %c", event.keyName, event.key < 128 ? static_cast<int>(event.key) : ' ');
            if (scene) scene->keyDown(event.key);
            if ((event.guiHeld && event.key == kbQ) || (event.altHeld && event.key == kbF4)) close();
            break;
        case KTEvent::Type::textInput:
            if (scene) scene->textInput(event.text);
            break;
        case KTEvent::Type::mouseMove:
            if (scene) scene->mouseMove(pointer());
            break;
        case KTEvent::Type::mouseDown:
            if (scene) scene->buttonDown(button(), pointer());
            break;
        case KTEvent::Type::mouseUp:
            if (scene) {
                const CGPoint point = pointer();
                scene->mouseMove(point);
                scene->buttonUp(button(), point);
            }
            break;
        case KTEvent::Type::fingerDown:
            // Fingers report fractions of the touch surface, which covers the window, letterbox included.
            if (scene) {
                const CGSize window = viewportSize();
                scene->buttonDown(msLeft, renderPointFromScreenPoint({event.finger.x * window.width,
                                                                      event.finger.y * window.height}));
            }
            break;
        case KTEvent::Type::resized:
            if (renderer_) renderer_->setOrtho();
            break;
    }
}

}  // namespace kt
