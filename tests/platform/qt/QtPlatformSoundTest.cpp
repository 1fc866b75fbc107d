// Sounds through the Qt platform: PCM wave files through QSoundEffect, anything else through
// QMediaPlayer, nothing at all for an empty or missing file, and no audio stack before the
// first sound.
#include "platform/qt/QtPlatform.h"
#include "support/TempFolder.h"

#include <QTest>
#include <gtest/gtest.h>

#include <cstdint>

using namespace kal;
using kal::qt::QtPlatform;
using kal::test::TempFolder;
using Player = QtPlatform::SoundPlayer;

namespace {

// A short silent mono wave file of the given sample format (1 = PCM, 0x55 = MPEG layer 3).
std::string waveFile(std::uint16_t format)
{
    const std::uint32_t samples = 800, dataBytes = samples * 2;
    std::string bytes;
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    auto u16 = [&](std::uint16_t v) {
        bytes += static_cast<char>(v & 0xFF);
        bytes += static_cast<char>(v >> 8);
    };
    bytes += "RIFF";
    u32(36 + dataBytes);
    bytes += "WAVEfmt ";
    u32(16);
    u16(format);
    u16(1);
    u32(8000);
    u32(16000);
    u16(2);
    u16(16);
    bytes += "data";
    u32(dataBytes);
    bytes += std::string(dataBytes, '\0');
    return bytes;
}

} // namespace

TEST(QtPlatformSound, NothingToPlayStartsNoPlayer)
{
    TempFolder dir;
    dir.write("empty.wav", "");
    QtPlatform platform;
    for (const std::string& path : {std::string(), dir.file("missing.wav"), dir.file("empty.wav")}) {
        SCOPED_TRACE(path);
        platform.playSound(path);
        EXPECT_EQ(platform.soundPlayerOf(path), Player::None);
    }
}

TEST(QtPlatformSound, PcmWaveGoesToTheSoundEffectAndTheRestToTheMediaPlayer)
{
    TempFolder dir;
    dir.write("pcm.wav", waveFile(1));
    dir.write("mp3.wav", waveFile(0x55));
    dir.write("garbage.wav", "not a sound at all");
    QtPlatform platform;
    for (const char* name : {"pcm.wav", "mp3.wav", "garbage.wav"})
        platform.playSound(dir.file(name));
    EXPECT_EQ(platform.soundPlayerOf(dir.file("pcm.wav")), Player::SoundEffect);
    QTRY_COMPARE_WITH_TIMEOUT(platform.soundPlayerOf(dir.file("mp3.wav")), Player::MediaPlayer, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(platform.soundPlayerOf(dir.file("garbage.wav")), Player::MediaPlayer, 5000);
    QTest::qWait(100);
    EXPECT_EQ(platform.soundPlayerOf(dir.file("pcm.wav")), Player::SoundEffect);
    // Playing again, even a file that nothing can play, goes on quietly.
    for (const char* name : {"pcm.wav", "mp3.wav", "garbage.wav"})
        platform.playSound(dir.file(name));
    QTest::qWait(100);
}
