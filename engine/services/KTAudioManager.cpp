#include "engine/services/KTAudioManager.h"

#include <algorithm>

#include "engine/core/KTContentLog.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTResourceManager.h"
#include "engine/platform/KTSilentAudioBackend.h"
#include "engine/services/KTSample.h"

namespace kt {
namespace {

// Without a device nothing is decoded, so a sample is silent rather than unreadable; with one, a file the
// back end cannot decode is reported by the resource manager.
KTSampleLoader sampleLoaderFor(const std::shared_ptr<KTAudioBackend>& backend) {
    return [weakBackend = std::weak_ptr(backend)](const std::string& path,
                                                  bool loop) -> std::shared_ptr<KTSample> {
        const auto loader = weakBackend.lock();
        if (!loader) return nullptr;
        const KTAudioBackend::Handle handle = loader->loadSample(path);
        if (handle == 0 && loader->hasDevice()) return nullptr;
        return std::make_shared<KTSample>(weakBackend, handle, loop);
    };
}

}  // namespace

KTAudioManager::KTAudioManager(std::shared_ptr<KTAudioBackend> backend) : backend_(std::move(backend)) {
    backend_->setSampleVolume(soundVolume_);
    backend_->setMusicVolume(musicVolume_);
    KTLog("KTAudioManager init OK");
}

KTAudioManager& KTAudioManager::shared() {
    if (auto* installed = dynamic_cast<KTAudioManager*>(KTDirector::shared().audio())) return *installed;
    return install(std::make_shared<KTSilentAudioBackend>());
}

KTAudioManager& KTAudioManager::install(std::shared_ptr<KTAudioBackend> backend) {
    auto manager = std::make_shared<KTAudioManager>(std::move(backend));
    KTResourceManager::shared().setSampleLoader(sampleLoaderFor(manager->backend()));
    KTDirector::shared().setAudio(manager);
    return *manager;
}

void KTAudioManager::playSample(const std::shared_ptr<KTSample>& sample) {
    if (sample && std::find(samples_.begin(), samples_.end(), sample) == samples_.end()) {
        samples_.push_back(sample);
    }
}

void KTAudioManager::playSamples() {
    const std::vector<std::shared_ptr<KTSample>> queued = std::move(samples_);
    samples_.clear();
    for (const auto& sample : queued)
        sample->play();
}

void KTAudioManager::playMusic(const std::string& name, bool loop) {
    const std::optional<std::string> path = KTResourceManager::shared().getPath(name);
    if (path && path == currentMusicFilename_) return;
    stopMusic();
    currentMusicFilename_ = path;
    if (!path) return;
    if (!backend_->playMusic(*path, loop) && backend_->hasDevice())
        KTLogContentProblem("unreadable music", *path);
}

void KTAudioManager::stopMusic() {
    currentMusicFilename_.reset();
    backend_->stopMusic();
}

void KTAudioManager::playMusicIdx(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= musicList_.size()) return;
    currentMusicIdx_ = index;
    playMusic(musicList_[static_cast<std::size_t>(index)]);
}

void KTAudioManager::switchMusic(int delta) {
    if (musicList_.empty()) return;
    KTLog("switchMusic curr idx: %i", currentMusicIdx_);
    const int count = static_cast<int>(musicList_.size());
    int index = currentMusicIdx_ + delta;
    if (index < 0) {
        index = count - 1;
    } else if (index >= count) {
        index = 0;
    }
    KTLog("switchMusic new idx: %i", index);
    playMusicIdx(index);
}

void KTAudioManager::setSoundVolume(int volume) {
    soundVolume_ = std::clamp(volume, 0, kFullVolume);
    if (!mute_) backend_->setSampleVolume(soundVolume_);
}

void KTAudioManager::setMusicVolume(int volume) {
    musicVolume_ = std::clamp(volume, 0, kFullVolume);
    if (!mute_) backend_->setMusicVolume(musicVolume_);
}

void KTAudioManager::setMute(bool mute) {
    if (mute == mute_) return;
    mute_ = mute;
    backend_->setSampleVolume(mute ? 0 : soundVolume_);
    backend_->setMusicVolume(mute ? 0 : musicVolume_);
}

}  // namespace kt
