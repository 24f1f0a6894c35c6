#pragma once

namespace kt {

// Installs the audio manager on SDL_mixer's output; without a sound card the manager runs silent and the
// reason goes to the log. The program calls it once at start-up, after the platform layer exists.
void KTInstallAudioModule();

}  // namespace kt
