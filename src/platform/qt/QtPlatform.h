// Platform on Qt: QMessageBox, QInputDialog, QColorDialog, QFontDialog, QFileDialog,
// QSoundEffect (QMediaPlayer for what it cannot play), QDesktopServices, QSystemTrayIcon.
#pragma once

#include "platform/Platform.h"

#include <QPointer>
#include <QString>
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

    enum class SoundPlayer { None, SoundEffect, MediaPlayer };
    // Which player took a sound file, once it is known.
    SoundPlayer soundPlayerOf(const std::string& path) const;

private:
    QWidget* dialogParent() const;

    QPointer<QWidget> parent_;
    // One voice per sound file, so that the alarm and the time signal of one minute both play.
    class Voice;
    std::map<QString, std::unique_ptr<Voice>> voices_;
};

} // namespace kal::qt
