#include "engine/services/KTSoundNode.h"

#include "engine/core/KTResourceManager.h"
#include "engine/core/KTTextValues.h"
#include "engine/services/KTAudioManager.h"
#include "engine/services/KTSample.h"

namespace kt {
namespace {

float realOf(const std::string& text) {
    return static_cast<float>(KTLeadingReal(text));
}

}  // namespace

const KTClass& KTSoundNode::staticClass() {
    static const KTClass& cls = KTClass::define<KTSoundNode>("KTSoundNode", KTNode::staticClass());
    return cls;
}
KT_REGISTER_CLASS(KTSoundNode);

KTSoundNode::KTSoundNode() {
    setAutoremove(true);
    setEnabled(false);
}

void KTSoundNode::setAttributes(const XMLAttributes& attributes) {
    KTNode::setAttributes(attributes);
    if (const std::string* loop = attributes.find("loop")) {
        loop_ = KTBoolFromText(*loop);
        if (loop_) setAutoremove(false);
    }
    if (const std::string* file = attributes.find("filename")) {
        sample_ = KTResourceManager::shared().getSample(*file);
    }
    if (!sample_) return;
    const std::string* volume = attributes.find("volume");
    if (!volume) volume = attributes.find("vol");
    if (volume) sample_->setVolume(realOf(*volume));
    if (const std::string* pan = attributes.find("pan")) sample_->setPan(realOf(*pan));
    if (const std::string* gap = attributes.find("mingap")) sample_->setMinGap(realOf(*gap));
}

void KTSoundNode::onEnterStage() {
    if (sample_) {
        if (loop_) {
            sample_->playLooped();
        } else {
            KTAudioManager::shared().playSample(sample_);
        }
    }
    KTNode::onEnterStage();
}

void KTSoundNode::onExitStage() {
    if (sample_ && loop_) sample_->stop();
    KTNode::onExitStage();
}

}  // namespace kt
