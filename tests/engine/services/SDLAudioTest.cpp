#include <SDL.h>
#include <gtest/gtest.h>
#include <vorbis/vorbisenc.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <numbers>
#include <thread>

#include "engine/core/KTResourceManager.h"
#include "engine/platform/KTSDLAudioBackend.h"
#include "engine/services/KTAudioManager.h"
#include "engine/services/KTSample.h"
#include "tests/support/DataFileTest.h"

namespace kt::test {
namespace {

constexpr int kRate = 44100;

void writePages(ogg_stream_state& stream, std::ofstream& out, bool flush) {
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
        out.write(reinterpret_cast<const char*>(page.header), page.header_len);
        out.write(reinterpret_cast<const char*>(page.body), page.body_len);
    }
}

// A mono sine tone encoded as Ogg Vorbis.
void writeTone(const std::string& path, float seconds) {
    vorbis_info info;
    vorbis_info_init(&info);
    ASSERT_EQ(vorbis_encode_init_vbr(&info, 1, kRate, 0.3f), 0);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);
    std::ofstream out(path, std::ios::binary);

    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    writePages(stream, out, true);

    const int frames = static_cast<int>(seconds * kRate);
    float** buffer = vorbis_analysis_buffer(&dsp, frames);
    for (int i = 0; i < frames; ++i)
        buffer[0][i] = 0.5f * std::sin(2 * std::numbers::pi_v<float> * 440 * i / kRate);
    vorbis_analysis_wrote(&dsp, frames);
    vorbis_analysis_wrote(&dsp, 0);

    ogg_packet packet;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
            ogg_stream_packetin(&stream, &packet);
            writePages(stream, out, false);
        }
    }
    writePages(stream, out, true);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
}

// SDL_mixer on SDL's dummy driver, which mixes in real time without a sound card.
class SDLAudioTest : public DataFileTest {
protected:
    SDLAudioTest() { SDL_setenv("SDL_AUDIODRIVER", "dummy", 1); }
};

TEST_F(SDLAudioTest, AnOggFilePlaysAsSampleAndAsMusic) {
    std::string error;
    std::shared_ptr<KTSDLAudioBackend> backend = KTSDLAudioBackend::open(error);
    ASSERT_TRUE(backend) << error;
    KTAudioManager& audio = KTAudioManager::install(backend);
    writeTone(writeFile("data/sounds/tone.ogg", ""), 0.1f);
    writeTone(writeFile("data/music/theme.ogg", ""), 2.0f);
    writeFile("data/sounds/noise.ogg", "not a sound");

    const auto tone = KTResourceManager::shared().getSample("data/sounds/tone.ogg");
    ASSERT_TRUE(tone && tone->isLoaded());
    tone->play();
    EXPECT_EQ(Mix_Playing(-1), 1);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Mix_Playing(-1) != 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(Mix_Playing(-1), 0) << "a tenth of a second of sound has ended";

    audio.playMusic("data/music/theme.ogg");
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    audio.setMute(true);
    EXPECT_EQ(Mix_VolumeMusic(-1), 0);
    audio.setMute(false);
    EXPECT_EQ(Mix_VolumeMusic(-1), MIX_MAX_VOLUME);
    audio.stopMusic();
    EXPECT_EQ(Mix_PlayingMusic(), 0);

    EXPECT_FALSE(KTResourceManager::shared().getSample("data/sounds/noise.ogg"));
    EXPECT_EQ(countInLog("unreadable sound"), 1);
}

}  // namespace
}  // namespace kt::test
