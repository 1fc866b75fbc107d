#include "platform/qt/QtPlatform.h"

#include "platform/Files.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QAudioOutput>
#include <QColorDialog>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMediaPlayer>
#include <QMessageBox>
#include <QPushButton>
#include <QSoundEffect>
#include <QSystemTrayIcon>
#include <QUrl>
#include <QWidget>

namespace kal::qt {

// A sound file's player: QSoundEffect for the PCM wave files it can play, QMediaPlayer for the
// rest, each made only when first needed. A file that neither can play stays silent.
class QtPlatform::Voice {
public:
    Voice(const QString& path, const files::FileStamp& stamp) : path_(path), stamp_(stamp) { }

    const files::FileStamp& stamp() const { return stamp_; }
    SoundPlayer player() const { return player_ ? SoundPlayer::MediaPlayer : SoundPlayer::SoundEffect; }

    void play()
    {
        if (player_) {
            player_->setPosition(0);
            player_->play();
            return;
        }
        if (!effect_) {
            effect_ = std::make_unique<QSoundEffect>();
            QObject::connect(effect_.get(), &QSoundEffect::statusChanged, effect_.get(), [this] {
                if (effect_->status() == QSoundEffect::Error)
                    playThroughMediaPlayer();
            });
            effect_->setSource(QUrl::fromLocalFile(path_));
        }
        if (effect_->status() == QSoundEffect::Error) {
            playThroughMediaPlayer();
            return;
        }
        effect_->stop();
        effect_->play();
    }

private:
    void playThroughMediaPlayer()
    {
        if (!player_) {
            output_ = std::make_unique<QAudioOutput>();
            player_ = std::make_unique<QMediaPlayer>();
            player_->setAudioOutput(output_.get());
            player_->setSource(QUrl::fromLocalFile(path_));
        }
        player_->setPosition(0);
        player_->play();
    }

    QString path_;
    files::FileStamp stamp_;
    std::unique_ptr<QSoundEffect> effect_;
    std::unique_ptr<QAudioOutput> output_;
    std::unique_ptr<QMediaPlayer> player_;
};

QtPlatform::QtPlatform() = default;
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
    bool ok = false;
    QFont font = QFontDialog::getFont(&ok, toQFont(initial), dialogParent());
    if (!ok)
        return std::nullopt;
    return fromQFont(font, initial.color);
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

void QtPlatform::playSound(const std::string& path)
{
    if (path.empty())
        return;
    const files::FileStamp stamp = files::fileStamp(path);
    if (!stamp.exists || stamp.size == 0)
        return;
    // Created on first use, so start-up does not pay for the audio stack; a file replaced since
    // its last play is loaded anew.
    const QString name = fromUtf8(path);
    std::unique_ptr<Voice>& voice = voices_[name];
    if (!voice || !(voice->stamp() == stamp))
        voice = std::make_unique<Voice>(name, stamp);
    voice->play();
}

QtPlatform::SoundPlayer QtPlatform::soundPlayerOf(const std::string& path) const
{
    auto found = voices_.find(fromUtf8(path));
    return found == voices_.end() ? SoundPlayer::None : found->second->player();
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
