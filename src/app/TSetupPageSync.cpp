#include "app/TSetupPageSync.h"

#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"
#include "settings/AppSettings.h"
#include "sync/SyncEngine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QThread>
#include <QVBoxLayout>

namespace kal {
namespace {

QSpinBox* monthSpin(const char* name, QWidget* parent)
{
    auto* spin = qt::named(new QSpinBox(parent), name);
    spin->setRange(0, kSyncMaxMonths);
    spin->setSuffix(QString::fromUtf8(" か月"));
    return spin;
}

void addRow(QFormLayout* form, const char* caption, QWidget* field, QWidget* parent)
{
    QLabel* label = qt::captionLabel(caption, parent);
    label->setBuddy(field);
    form->addRow(label, field);
}

} // namespace

TSetupSyncPage::TSetupSyncPage(qt::Services& services, std::string programFolder, QWidget* parent, ServiceSource source)
    : TSetupPage(parent), services_(services), programFolder_(std::move(programFolder)), source_(std::move(source))
{
    auto* layout = pageColumn(this);
    auto* server = new QFormLayout;
    groupColumn("同期先（CalDAV サーバー）", this, layout)->addLayout(server);
    EditSyncUrl = qt::named(new QLineEdit(this), "EditSyncUrl");
    EditSyncUrl->setPlaceholderText(QString::fromUtf8("https://example.jp/dav/user/calendar/（空欄なら同期しません）"));
    EditSyncUser = qt::named(new QLineEdit(this), "EditSyncUser");
    EditSyncPassword = qt::named(new QLineEdit(this), "EditSyncPassword");
    EditSyncPassword->setEchoMode(QLineEdit::Password);
    EditSyncPassword->setPlaceholderText(QString::fromUtf8("空欄なら保存済みのものを使います"));
    CmbSyncCalendar = qt::named(new QComboBox(this), "CmbSyncCalendar");
    CmbSyncCalendar->setPlaceholderText(QString::fromUtf8("（選ばれていません）"));
    BtnSyncFind = qt::namedButton("BtnSyncFind", "探す(&F)", this);
    auto* calendarRow = new QWidget(this);
    auto* calendarLine = new QHBoxLayout(calendarRow);
    calendarLine->setContentsMargins(0, 0, 0, 0);
    calendarLine->addWidget(CmbSyncCalendar, 1);
    calendarLine->addWidget(BtnSyncFind);
    addRow(server, "カレンダーの URL(&U)：", EditSyncUrl, this);
    addRow(server, "ユーザー名(&N)：", EditSyncUser, this);
    addRow(server, "パスワード(&P)：", EditSyncPassword, this);
    addRow(server, "カレンダー(&C)：", calendarRow, this);
    auto* note = qt::captionLabel("パスワードはデスクトップのキーリングに保存します。キーリングがないときは "
                                  "~/.netrc（所有者だけが読めるもの）から読みます。",
                                  this);
    note->setWordWrap(true);
    server->addRow(note);

    auto* period = new QHBoxLayout;
    groupColumn("同期する期間", this, layout)->addLayout(period);
    SpinSyncBack = monthSpin("SpinSyncBack", this);
    SpinSyncAhead = monthSpin("SpinSyncAhead", this);
    for (auto [caption, spin] : {std::pair{"過去(&B)：", SpinSyncBack}, std::pair{"先(&A)：", SpinSyncAhead}}) {
        QLabel* label = qt::captionLabel(caption, this);
        label->setBuddy(spin);
        period->addWidget(label);
        period->addWidget(spin);
    }
    period->addStretch();

    auto* automatic = new QHBoxLayout;
    groupColumn("自動同期", this, layout)->addLayout(automatic);
    ChkSyncAuto = setupCheck("ChkSyncAuto", "自動的に同期する(&T)", this);
    SpinSyncInterval = qt::named(new QSpinBox(this), "SpinSyncInterval");
    SpinSyncInterval->setRange(1, kSyncMaxInterval);
    SpinSyncInterval->setSuffix(QString::fromUtf8(" 分ごと"));
    automatic->addWidget(ChkSyncAuto);
    automatic->addWidget(SpinSyncInterval);
    automatic->addStretch();
    layout->addStretch();

    connect(ChkSyncAuto, &QCheckBox::toggled, SpinSyncInterval, &QWidget::setEnabled);
    connect(BtnSyncFind, &QPushButton::clicked, this, &TSetupSyncPage::BtnSyncFindClick);
    connect(CmbSyncCalendar, &QComboBox::currentIndexChanged, this, &TSetupSyncPage::CmbSyncCalendarChange);
    connect(EditSyncUrl, &QLineEdit::textEdited, this, &TSetupSyncPage::ShowChosenCalendar);
}

TSetupSyncPage::~TSetupSyncPage()
{
    if (finder_) {
        finder_->wait();
        delete finder_;
    }
}

void TSetupSyncPage::load(const AppSettings&)
{
    const SyncSettingsFile file = readSyncSettings(SettingsPath(programFolder_));
    const SyncSettings& s = loaded_ = file.settings;
    EditSyncUrl->setText(qt::fromUtf8(s.url));
    EditSyncUser->setText(qt::fromUtf8(s.user));
    EditSyncPassword->clear();
    CmbSyncCalendar->clear();
    SpinSyncBack->setValue(s.back);
    SpinSyncAhead->setValue(s.ahead);
    ChkSyncAuto->setChecked(s.interval > 0);
    SpinSyncInterval->setValue(s.interval > 0 ? s.interval : 30);
    SpinSyncInterval->setEnabled(s.interval > 0);
}

SyncSettings TSetupSyncPage::edited() const
{
    SyncSettings s;
    s.url = qt::toUtf8(EditSyncUrl->text().trimmed());
    s.user = qt::toUtf8(EditSyncUser->text().trimmed());
    s.back = SpinSyncBack->value();
    s.ahead = SpinSyncAhead->value();
    s.interval = ChkSyncAuto->isChecked() ? SpinSyncInterval->value() : 0;
    return s;
}

caldav::Service* TSetupSyncPage::service(std::string& reason) const
{
    const caldav::LoadedService loaded = source_();
    reason = loaded.reason;
    return loaded.service;
}

bool TSetupSyncPage::Refuse(const std::string& text, QWidget* field)
{
    services_.platform.messageBox(kSyncCaption, text, MessageIcon::Error, MessageButtons::Ok);
    field->setFocus();
    return false;
}

bool TSetupSyncPage::Save()
{
    const SyncSettings s = edited();
    const std::string password = qt::toUtf8(EditSyncPassword->text());
    if (!s.url.empty() || !password.empty()) {
        std::string reason;
        caldav::Service* dav = service(reason);
        if (!dav)
            return Refuse(reason, EditSyncUrl);
        if (const caldav::DavStatus checked = dav->checkUrl(s.url); !s.url.empty() && !checked.ok())
            return Refuse("カレンダーの URL を使えません。\r\n" + checked.reason, EditSyncUrl);
        if (!password.empty()) {
            const caldav::KeyringResult stored = dav->storePassword(s.url, s.user, password);
            if (stored.outcome != caldav::KeyringOutcome::Done)
                return Refuse("パスワードをキーリングに保存できません。\r\n" + stored.reason +
                                  "\r\n~/.netrc に書くか（所有者だけが読めるようにして下さい）、パスワード欄を空に"
                                  "して下さい。",
                              EditSyncPassword);
            EditSyncPassword->clear();
        }
    }
    if (s == loaded_)
        return true;
    if (const files::IoResult saved = writeSyncSettings(SettingsPath(programFolder_), s); !saved)
        return Refuse("設定ファイルを保存できません。\r\n" + saved.reason, EditSyncUrl);
    loaded_ = s;
    return true;
}

void TSetupSyncPage::BtnSyncFindClick()
{
    if (finder_)
        return;
    const SyncSettings s = edited();
    const std::string password = qt::toUtf8(EditSyncPassword->text());
    BtnSyncFind->setEnabled(false);
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    finder_ = QThread::create([this, s, password] {
        caldav::CalendarList list;
        std::string reason;
        if (caldav::Service* dav = service(reason))
            list = dav->findCalendars(s.url, s.user, password);
        else
            list.status = caldav::DavStatus{caldav::DavError::BadUrl, 0, reason};
        QMetaObject::invokeMethod(
            this, [this, list] { CalendarsFound(list); }, Qt::QueuedConnection);
    });
    finder_->start();
}

void TSetupSyncPage::CalendarsFound(const caldav::CalendarList& list)
{
    finder_->wait();
    delete finder_;
    finder_ = nullptr;
    QGuiApplication::restoreOverrideCursor();
    BtnSyncFind->setEnabled(true);
    {
        const QSignalBlocker quiet(CmbSyncCalendar);
        CmbSyncCalendar->clear();
        for (const caldav::CalendarEntry& calendar : list.calendars) {
            const std::string name = calendar.displayName.empty() ? calendar.url : calendar.displayName;
            const char* kinds = calendar.acceptsTodos ? "（予定と ToDo）" : "（予定のみ）";
            CmbSyncCalendar->addItem(qt::fromUtf8(name + kinds), qt::fromUtf8(calendar.url));
        }
    }
    ShowChosenCalendar();
    if (!list.status.ok() || list.calendars.empty()) {
        Refuse(list.status.ok() ? "この URL ではカレンダーが見つかりません。" : list.status.reason, EditSyncUrl);
        return;
    }
    // The only calendar of the account is the one to sync; among several the user chooses.
    if (list.calendars.size() == 1)
        CmbSyncCalendar->setCurrentIndex(0);
    CmbSyncCalendar->setFocus();
    if (CmbSyncCalendar->currentIndex() < 0)
        CmbSyncCalendar->showPopup();
}

void TSetupSyncPage::CmbSyncCalendarChange(int index)
{
    if (index >= 0)
        EditSyncUrl->setText(CmbSyncCalendar->itemData(index).toString());
}

void TSetupSyncPage::ShowChosenCalendar()
{
    // What the list shows as chosen is always the URL that OK saves.
    const QSignalBlocker quiet(CmbSyncCalendar);
    CmbSyncCalendar->setCurrentIndex(CmbSyncCalendar->findData(EditSyncUrl->text().trimmed()));
}

} // namespace kal
