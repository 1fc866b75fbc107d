#include "sync/qt/SyncPanel.h"

#include "platform/qt/ElidedLabel.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

namespace kal::qt {
namespace {

constexpr const char* kSyncNow = "今すぐ同期(&Y)";
constexpr const char* kSyncCancel = "同期を中止(&Y)";

QString firstLine(const std::string& text)
{
    return fromUtf8(text.substr(0, text.find_first_of("\r\n")));
}

} // namespace

SyncPanel::SyncPanel(const PanelContext& context, SyncLinks links, QWidget* window, SyncRunner::ServiceSource source)
    : QObject(window), context_(context), links_(std::move(links))
{
    MenuSync = namedAction(this, "MenuSync", kSyncNow);
    StatusSync = new ElidedLabel(window);
    StatusSync->setObjectName("StatusSync");
    ProgressSync = new QProgressBar(window);
    ProgressSync->setObjectName("ProgressSync");
    ProgressSync->setMaximumSize(120, 14);
    ProgressSync->setTextVisible(false);
    ProgressSync->setVisible(false);
    TimerSync = new QTimer(this);
    TimerSync->setObjectName("TimerSync");
    TimerSync->start(60 * 1000);
    Runner = new SyncRunner(std::move(source), this);
    connect(MenuSync, &QAction::triggered, this, &SyncPanel::MenuSyncClick);
    connect(TimerSync, &QTimer::timeout, this, &SyncPanel::TimerSyncTimer);
    connect(Runner, &SyncRunner::progress, this, &SyncPanel::ShowProgress);
    connect(Runner, &SyncRunner::finished, this, &SyncPanel::Finished);
}

long long SyncPanel::minuteNow() const
{
    const DateTime now = context_.services.platform.now();
    return toDayNumber(now.date) * 1440 + now.hour * 60 + now.minute;
}

void SyncPanel::MenuSyncClick()
{
    if (Runner->running()) {
        Runner->cancel();
        return;
    }
    Start(true);
}

void SyncPanel::TimerSyncTimer()
{
    if (Runner->running() || !mayStartAutomatically_())
        return;
    const SyncSettingsFile file = readSyncSettings(SettingsPath(context_.programFolder));
    const int interval = file.settings.interval;
    if (!file.ok || !file.settings.enabled() || interval == 0)
        return;
    if (!lastSync_ || minuteNow() - *lastSync_ >= interval)
        Start(false);
}

void SyncPanel::Start(bool byHand)
{
    const SyncSettingsFile file = readSyncSettings(SettingsPath(context_.programFolder));
    if (!file.ok || !file.settings.enabled()) {
        if (byHand)
            context_.services.platform.messageBox(
                kSyncCaption,
                file.ok ? "同期先が設定されていません。環境設定の「同期」ページで同期先の "
                          "URL を入力して下さい。"
                        : file.reason,
                MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    const AppSettings& settings = context_.settings;
    SyncRequest request{{settings.dataPath, settings.todoPath, context_.programFolder},
                        file.settings,
                        links_.today(),
                        settings.alarmTime};
    byHand_ = byHand;
    lastSync_ = minuteNow();
    Runner->start(std::move(request));
    MenuSync->setText(QString::fromUtf8(kSyncCancel));
    ProgressSync->setRange(0, 0);
    ProgressSync->setVisible(true);
    StatusSync->setText(QString::fromUtf8("同期しています..."));
}

void SyncPanel::ShowProgress(const QString& text, int done, int total)
{
    StatusSync->setText(text);
    ProgressSync->setRange(0, total);
    ProgressSync->setValue(done);
}

void SyncPanel::Finished(const SyncOutcome& outcome)
{
    MenuSync->setText(QString::fromUtf8(kSyncNow));
    ProgressSync->setVisible(false);
    const DateTime now = context_.services.platform.now();
    const QString at = QString::asprintf("%02d:%02d ", now.hour, now.minute);
    const std::string result = outcome.ok ? syncSummary(outcome.counts) : outcome.reason;
    StatusSync->setText(at + (outcome.ok ? fromUtf8("同期 " + syncBrief(outcome.counts))
                                         : QString::fromUtf8("同期できません: ") + firstLine(result)));
    StatusSync->setToolTip(fromUtf8(result));
    if (outcome.wroteFiles) {
        links_.todoChanged();
        context_.rebuildMonth();
    }
    if (!outcome.ok && byHand_ && outcome.error != caldav::DavError::Cancelled)
        context_.services.platform.messageBox(kSyncCaption, "同期できませんでした。\r\n" + outcome.reason,
                                              MessageIcon::Error, MessageButtons::Ok);
}

} // namespace kal::qt
