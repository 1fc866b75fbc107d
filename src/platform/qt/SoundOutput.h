// The sound player lives in a loadable module (modules/MultimediaSound.cpp), so that the audio
// stack is mapped only when the first sound plays, never at start.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

namespace kal::qt {

enum class SoundPlayer { None, SoundEffect, MediaPlayer };

class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Plays the file; `reload` when it changed since it last played.
    virtual void play(const QString& path, bool reload) = 0;
    // Which player took the file, once it is known.
    virtual SoundPlayer playerOf(const QString& path) const = 0;
};

// The function the module exports; it returns a new player owned by the caller.
using SoundOutputFactory = SoundOutput* (*)();
inline constexpr const char* kSoundOutputFactoryName = "kalendra_create_sound_output";
inline constexpr const char* kSoundModuleFileName = "libkalendra_sound.so";

// The folders searched for the module: the program's own, then where the installation puts it.
QStringList soundModuleFolders();
// The player of the first folder whose module loads, or null when none does.
std::unique_ptr<SoundOutput> loadSoundModule(const QStringList& folders);

} // namespace kal::qt
