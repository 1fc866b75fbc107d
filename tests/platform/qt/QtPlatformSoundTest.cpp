// Sounds through the Qt platform: PCM wave files through QSoundEffect, anything else through
// QMediaPlayer, nothing at all for an empty or missing file, and the player module loaded at the
// first sound, with a message instead of a crash when it cannot be.
#include "platform/qt/QtPlatform.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

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

// The player of the module's code linked into the tests.
extern "C" kal::qt::SoundOutput* kalendra_create_sound_output();

void useLinkedPlayer(QtPlatform& platform)
{
    platform.setSoundLoader([] { return std::unique_ptr<kal::qt::SoundOutput>(kalendra_create_sound_output()); });
}

// Closes the next message box once it shows, keeping its text.
struct MessageCatcher {
    QString text;
    int shown = 0;

    void arm()
    {
        QTimer::singleShot(0, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                text = box->text();
                ++shown;
                box->accept();
            }
        });
    }
};

} // namespace

TEST(QtPlatformSound, NothingToPlayStartsNoPlayer)
{
    TempFolder dir;
    dir.write("empty.wav", "");
    QtPlatform platform;
    int loads = 0;
    platform.setSoundLoader([&loads] {
        ++loads;
        return std::unique_ptr<kal::qt::SoundOutput>(kalendra_create_sound_output());
    });
    for (const std::string& path : {std::string(), dir.file("missing.wav"), dir.file("empty.wav")}) {
        SCOPED_TRACE(path);
        platform.playSound(path);
        EXPECT_EQ(platform.soundPlayerOf(path), Player::None);
    }
    EXPECT_EQ(loads, 0) << "the module is loaded only for a sound that plays";
}

TEST(QtPlatformSound, PcmWaveGoesToTheSoundEffectAndTheRestToTheMediaPlayer)
{
    TempFolder dir;
    dir.write("pcm.wav", waveFile(1));
    dir.write("mp3.wav", waveFile(0x55));
    dir.write("garbage.wav", "not a sound at all");
    QtPlatform platform;
    useLinkedPlayer(platform);
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

TEST(QtPlatformSound, TheModuleLoadsFromTheFirstFolderThatHasIt)
{
    TempFolder dir;
    std::filesystem::create_directories(dir.file("empty"));
    std::filesystem::create_directories(dir.file("garbage"));
    dir.write("garbage/libkalendra_sound.so", "not a shared object");
    const QString built = KALENDRA_MODULE_BUILD_DIR;
    const QString empty = QString::fromStdString(dir.file("empty"));
    const QString garbage = QString::fromStdString(dir.file("garbage"));
    const QString missing = QString::fromStdString(dir.file("missing"));
    struct Case {
        const char* what;
        QStringList folders;
        bool loads;
    };
    const Case cases[] = {
        {"the build folder", {built}, true},
        {"after folders without it", {missing, empty, built}, true},
        {"after a file that is no module", {garbage, built}, true},
        {"nowhere", {missing, empty}, false},
        {"only a file that is no module", {garbage}, false},
        {"no folder at all", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<kal::qt::SoundOutput> output = kal::qt::loadSoundModule(c.folders);
        EXPECT_EQ(output != nullptr, c.loads);
        if (output)
            EXPECT_EQ(output->playerOf("/nothing/played.wav"), Player::None);
    }
}

TEST(QtPlatformSound, TheProgramLooksBesideItselfFirst)
{
    const QStringList folders = kal::qt::soundModuleFolders();
    ASSERT_GE(folders.size(), 2);
    EXPECT_EQ(folders.front(), QCoreApplication::applicationDirPath());
}

TEST(QtPlatformSound, AMissingModuleIsSaidOnceAndNothingPlays)
{
    TempFolder dir;
    dir.write("pcm.wav", waveFile(1));
    QtPlatform platform;
    int loads = 0;
    platform.setSoundLoader([&loads] {
        ++loads;
        return std::unique_ptr<kal::qt::SoundOutput>();
    });
    MessageCatcher catcher;
    catcher.arm();
    platform.playSound(dir.file("pcm.wav"));
    EXPECT_EQ(catcher.shown, 1);
    EXPECT_TRUE(catcher.text.contains("libkalendra_sound.so")) << catcher.text.toStdString();
    EXPECT_TRUE(catcher.text.contains(QString::fromUtf8("音は鳴りません"))) << catcher.text.toStdString();
    EXPECT_EQ(platform.soundPlayerOf(dir.file("pcm.wav")), Player::None);

    // The next alarm neither asks again nor tries to load again.
    catcher.arm();
    platform.playSound(dir.file("pcm.wav"));
    QTest::qWait(20);
    EXPECT_EQ(catcher.shown, 1);
    EXPECT_EQ(loads, 1);
}
