// Platform on Qt: QMessageBox, QInputDialog, QColorDialog, QFontDialog, QFileDialog,
// the sound module (SoundOutput.h), QDesktopServices, QSystemTrayIcon.
#pragma once

#include "platform/Files.h"
#include "platform/Platform.h"
#include "platform/qt/SoundOutput.h"

#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <memory>

class QWidget;

namespace kal::qt {

class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    // Dialogs are centred on this window when it is set and visible.
    void setParentWindow(QWidget* window) { parent_ = window; }

    MessageAnswer messageBox(const std::string& caption, const std::string& text, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& initial) override;
    std::optional<ColorValue> chooseColor(ColorValue initial) override;
    std::optional<FontSpec> chooseFont(const FontSpec& initial) override;
    std::optional<std::string> openFileName(const std::string& caption, const std::string& folder,
                                            const std::string& filter) override;
    std::optional<std::string> saveFileName(const std::string& caption, const std::string& folder,
                                            const std::string& filter) override;
    std::optional<std::string> folderName(const std::string& caption, const std::string& folder) override;
    void playSound(const std::string& path) override;
    bool shellOpen(const std::string& target) override;
    DateTime now() override;
    bool hasNotificationArea() override;
    bool printerInstalled() override;

    using SoundPlayer = qt::SoundPlayer;
    // Which player took a sound file, once it is known.
    SoundPlayer soundPlayerOf(const std::string& path) const;

    // Where the sound player comes from; by default the module beside the program.
    using SoundLoader = std::function<std::unique_ptr<SoundOutput>()>;
    void setSoundLoader(SoundLoader loader) { soundLoader_ = std::move(loader); }

private:
    QWidget* dialogParent() const;

    QPointer<QWidget> parent_;
    SoundOutput* soundOutput();

    SoundLoader soundLoader_;
    std::unique_ptr<SoundOutput> sound_;
    bool soundUnavailable_ = false;
    // The files as they were when they last played, so that a replaced file is loaded anew.
    std::map<QString, files::FileStamp> soundStamps_;
};

} // namespace kal::qt
