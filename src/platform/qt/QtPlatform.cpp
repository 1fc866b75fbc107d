#include "platform/qt/QtPlatform.h"

#include "platform/Files.h"
#include "platform/qt/FontChoice.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QColorDialog>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QUrl>
#include <QWidget>

namespace kal::qt {

QtPlatform::QtPlatform() : soundLoader_([] { return loadSoundModule(soundModuleFolders()); }) { }
QtPlatform::~QtPlatform() = default;

QWidget* QtPlatform::dialogParent() const
{
    // Over the open dialog, which may stay on top of the main window and would hide the box.
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return parent_ && parent_->isVisible() ? parent_.data() : nullptr;
}

MessageAnswer QtPlatform::messageBox(const std::string& caption, const std::string& text, MessageIcon icon,
                                     MessageButtons buttons)
{
    QMessageBox box(dialogParent());
    box.setWindowTitle(fromUtf8(caption));
    // User data goes into these texts; it must never be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(fromUtf8(text));
    switch (icon) {
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    if (box.button(QMessageBox::Ok))
        box.button(QMessageBox::Ok)->setText("OK");
    if (box.button(QMessageBox::Cancel))
        box.button(QMessageBox::Cancel)->setText(QString::fromUtf8("キャンセル"));
    if (box.button(QMessageBox::Yes))
        box.button(QMessageBox::Yes)->setText(QString::fromUtf8("はい(&Y)"));
    if (box.button(QMessageBox::No))
        box.button(QMessageBox::No)->setText(QString::fromUtf8("いいえ(&N)"));
    switch (box.exec()) {
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Cancel;
    }
}

std::optional<std::string> QtPlatform::inputBox(const std::string& caption, const std::string& prompt,
                                                const std::string& initial)
{
    QInputDialog dialog(dialogParent());
    dialog.setWindowTitle(fromUtf8(caption));
    dialog.setLabelText(fromUtf8(prompt));
    dialog.setTextValue(fromUtf8(initial));
    for (QLabel* label : dialog.findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);
    dialog.setOkButtonText("OK");
    dialog.setCancelButtonText(QString::fromUtf8("キャンセル"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return toUtf8(dialog.textValue());
}

std::optional<ColorValue> QtPlatform::chooseColor(ColorValue initial)
{
    QColor color = QColorDialog::getColor(toQColor(initial), dialogParent());
    if (!color.isValid())
        return std::nullopt;
    return fromQColor(color);
}

std::optional<FontSpec> QtPlatform::chooseFont(const FontSpec& initial)
{
    QFontDialog dialog(dialogParent());
    const FontChoice choice(dialog, initial);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return choice.chosen();
}

std::optional<std::string> QtPlatform::openFileName(const std::string& caption, const std::string& folder,
                                                    const std::string& filter)
{
    QString name = QFileDialog::getOpenFileName(dialogParent(), fromUtf8(caption), fromUtf8(folder), fromUtf8(filter));
    if (name.isEmpty())
        return std::nullopt;
    return toUtf8(name);
}

std::optional<std::string> QtPlatform::saveFileName(const std::string& caption, const std::string& folder,
                                                    const std::string& filter)
{
    QString name = QFileDialog::getSaveFileName(dialogParent(), fromUtf8(caption), fromUtf8(folder), fromUtf8(filter),
                                                nullptr, QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty())
        return std::nullopt;
    return toUtf8(name);
}

std::optional<std::string> QtPlatform::folderName(const std::string& caption, const std::string& folder)
{
    QString name = QFileDialog::getExistingDirectory(dialogParent(), fromUtf8(caption), fromUtf8(folder));
    if (name.isEmpty())
        return std::nullopt;
    return toUtf8(name);
}

SoundOutput* QtPlatform::soundOutput()
{
    // Loaded at the first sound, so start-up does not pay for the audio stack. A missing module
    // is said once; the alarms and time signals after it stay silent instead of asking again.
    if (!sound_ && !soundUnavailable_) {
        sound_ = soundLoader_();
        soundUnavailable_ = !sound_;
        if (soundUnavailable_)
            messageBox("音の再生",
                       std::string("音を鳴らす部品 ") + kSoundModuleFileName +
                           " を読み込めないため、音は鳴りません。\r\nKalendra を入れ直してください。",
                       MessageIcon::Warning, MessageButtons::Ok);
    }
    return sound_.get();
}

void QtPlatform::playSound(const std::string& path)
{
    if (path.empty())
        return;
    const files::FileStamp stamp = files::fileStamp(path);
    if (!stamp.exists || stamp.size == 0)
        return;
    SoundOutput* output = soundOutput();
    if (!output)
        return;
    const QString name = fromUtf8(path);
    auto [known, added] = soundStamps_.try_emplace(name, stamp);
    const bool replaced = !added && !(known->second == stamp);
    known->second = stamp;
    output->play(name, replaced);
}

QtPlatform::SoundPlayer QtPlatform::soundPlayerOf(const std::string& path) const
{
    return sound_ ? sound_->playerOf(fromUtf8(path)) : SoundPlayer::None;
}

bool QtPlatform::shellOpen(const std::string& target)
{
    QString t = fromUtf8(target);
    QUrl url = QUrl::fromUserInput(t);
    if (QFileInfo::exists(t))
        url = QUrl::fromLocalFile(QFileInfo(t).absoluteFilePath());
    return QDesktopServices::openUrl(url);
}

DateTime QtPlatform::now()
{
    QDateTime t = QDateTime::currentDateTime();
    DateTime dt;
    dt.date = Date{t.date().year(), t.date().month(), t.date().day()};
    dt.hour = t.time().hour();
    dt.minute = t.time().minute();
    dt.second = t.time().second();
    return dt;
}

bool QtPlatform::hasNotificationArea()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

} // namespace kal::qt

namespace kal::qt {

bool QtPlatform::printerInstalled()
{
    // Without a print system (no CUPS) the list is simply empty.
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

} // namespace kal::qt
