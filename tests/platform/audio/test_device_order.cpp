// On the real backend: decoding sounds ahead leaves the audio device alone,
// so start-up can ask for its sounds and songs before the window opens. SDL's audio
// start run before its video start can hang on the session bus under a bare
// X server (one start in four, seen under the sanitizer build).
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/audio.h"
#include "platform/audio_internal.h"
#include "platform/files.h"
#include "support/ogg_encode.h"
#include "support/scratch.h"

namespace {

TEST(SoundsAheadOnTheRealBackend, OnlyTheFirstLoadOrPlayOpensTheAudioDevice) {
    const std::string dir = quill_test::ScratchDir() + "device_order";
    ASSERT_TRUE(plat::CreateDir(dir, true));
    const std::string file = dir + "/a.ogg";
    ASSERT_TRUE(plat::SaveText(file, quill_test::EncodeOggVorbis(quill_test::Sine({440}, 22050, 0.5), 1, 22050)));

    plat::LoadSoundsAhead({dir});
    const plat::SoundPtr song = plat::AwaitSound(plat::LoadSoundAhead(file, plat::SOUND_LOOP));
    ASSERT_NE(song, nullptr);
    plat::detail::WaitForDecodesAhead();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "opened by a decode ahead";
    EXPECT_NE(plat::LoadSound(file), nullptr);
    EXPECT_NE(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "the first load opens the device, as before";
    plat::DeleteDir(dir, true);
}

}  // namespace
