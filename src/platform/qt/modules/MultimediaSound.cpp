// The sound player module: Qt Multimedia and the audio system behind it are mapped into the
// program only when this module is loaded, at the first sound.
#include "platform/qt/SoundOutput.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QObject>
#include <QSoundEffect>
#include <QUrl>

#include <map>

namespace kal::qt {
namespace {

// A sound file's player: QSoundEffect for the PCM wave files it can play, QMediaPlayer for the
// rest, each made only when first needed. A file that neither can play stays silent.
class Voice {
public:
    explicit Voice(const QString& path) : path_(path) { }

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
    std::unique_ptr<QSoundEffect> effect_;
    std::unique_ptr<QAudioOutput> output_;
    std::unique_ptr<QMediaPlayer> player_;
};

// One voice per sound file, so that the alarm and the time signal of one minute both play.
class MultimediaSound : public SoundOutput {
public:
    void play(const QString& path, bool reload) override
    {
        std::unique_ptr<Voice>& voice = voices_[path];
        if (!voice || reload)
            voice = std::make_unique<Voice>(path);
        voice->play();
    }

    SoundPlayer playerOf(const QString& path) const override
    {
        auto found = voices_.find(path);
        return found == voices_.end() ? SoundPlayer::None : found->second->player();
    }

private:
    std::map<QString, std::unique_ptr<Voice>> voices_;
};

} // namespace
} // namespace kal::qt

extern "C" Q_DECL_EXPORT kal::qt::SoundOutput* kalendra_create_sound_output()
{
    return new kal::qt::MultimediaSound;
}
