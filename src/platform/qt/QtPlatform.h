// Platform on Qt: QMessageBox, QInputDialog, QColorDialog, QFontDialog, QFileDialog,
// QSoundEffect, QDesktopServices, QSystemTrayIcon.
#pragma once

#include "platform/Platform.h"

#include <QPointer>
#include <memory>

class QWidget;
class QSoundEffect;

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

private:
    QWidget* dialogParent() const;

    QPointer<QWidget> parent_;
    std::unique_ptr<QSoundEffect> sound_;
};

} // namespace kal::qt
