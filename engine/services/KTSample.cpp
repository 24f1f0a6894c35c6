#include "engine/services/KTSample.h"

#include <algorithm>
#include <cmath>

#include "engine/core/KTLog.h"

namespace kt {

KTSample::KTSample(std::weak_ptr<KTAudioBackend> backend, KTAudioBackend::Handle handle, bool loop)
    : backend_(std::move(backend)), handle_(handle), loop_(loop) {}

KTSample::~KTSample() {
    if (const auto backend = backend_.lock()) backend->freeSample(handle_);
}

void KTSample::play() {
    start(false);
}

void KTSample::playLooped() {
    KTLog("playLooped");
    loop_ = true;
    start(true);
}

void KTSample::stop() {
    KTLog("KTSample stop");
    if (!loop_) return;
    if (const auto backend = backend_.lock()) backend->stopPlayback(channel_);
}

void KTSample::start(bool loop) {
    const auto backend = backend_.lock();
    if (!backend || handle_ == 0) return;
    const std::uint32_t now = backend->ticks();
    if (withinMinGap(now)) return;
    std::erase_if(playbacks_,
                  [&backend](KTAudioBackend::Handle playback) { return !backend->isPlaying(playback); });
    if (playbacks_.size() >= kMaxPlaybacks) return;
    const KTAudioBackend::Handle playback = backend->startPlayback(handle_, {volume_, pan_, loop});
    if (playback == 0) return;
    channel_ = playback;
    playbacks_.push_back(playback);
    lastStart_ = now;
    started_ = true;
}

bool KTSample::withinMinGap(std::uint32_t now) const {
    // Whole milliseconds, as the gap is counted.
    return started_ && static_cast<float>(now - lastStart_) < std::trunc(minGap_ * 1000);
}

}  // namespace kt
