#include "platform/qt/SoundOutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace kal::qt {

QStringList soundModuleFolders()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    // Relative to the program first, so an installation moved to another prefix still works.
    return {programFolder, QDir::cleanPath(programFolder + "/" + KALENDRA_MODULE_RELATIVE_DIR),
            KALENDRA_MODULE_INSTALL_DIR};
}

std::unique_ptr<SoundOutput> loadSoundModule(const QStringList& folders)
{
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(kSoundModuleFileName);
        if (!QFileInfo(path).isFile())
            continue;
        // Never unloaded: the players' code must outlive them until the process ends.
        QLibrary library(path);
        auto factory = reinterpret_cast<SoundOutputFactory>(library.resolve(kSoundOutputFactoryName));
        if (!factory)
            continue;
        if (SoundOutput* output = factory())
            return std::unique_ptr<SoundOutput>(output);
    }
    return nullptr;
}

} // namespace kal::qt
