#pragma once

#include <memory>
#include <string>

#include "engine/services/KTAudioManager.h"
#include "tests/engine/services/FakeAudioBackend.h"
#include "tests/support/DataFileTest.h"

namespace kt::test {

// An audio manager on a recording back end, installed as the program installs the real one.
class AudioTest : public DataFileTest {
protected:
    AudioTest()
        : backendRef_(std::make_shared<FakeAudioBackend>()), audio(KTAudioManager::install(backendRef_)) {}

    // A sound file below the data folder; its name is also its resource name.
    std::string soundFile(const std::string& name) const {
        writeFile(name, "sound");
        return name;
    }

private:
    std::shared_ptr<FakeAudioBackend> backendRef_;

protected:
    FakeAudioBackend& backend = *backendRef_;
    KTAudioManager& audio;
};

}  // namespace kt::test
