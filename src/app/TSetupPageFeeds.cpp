#include "app/TSetupPageFeeds.h"

#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"
#include "sync/FeedCache.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kal {
namespace {

constexpr const char* kCaption = "購読";

QLabel* buddyLabel(const char* caption, QWidget* field, QWidget* parent)
{
    QLabel* label = qt::captionLabel(caption, parent);
    label->setBuddy(field);
    return label;
}

} // namespace

TSetupFeedsPage::TSetupFeedsPage(qt::Services& services, std::string programFolder, QWidget* parent,
                                 FetcherSource fetcher)
    : TSetupPage(parent), services_(services), programFolder_(std::move(programFolder)), fetcher_(std::move(fetcher))
{
    auto* layout = pageColumn(this);
    ListFeeds = qt::reportList(this, "ListFeeds");
    ListFeeds->setAccessibleName(QString::fromUtf8("購読している予定表"));
    ListFeeds->setHeaderLabels({QString::fromUtf8("名前"), QString::fromUtf8("URL")});
    ListFeeds->setColumnWidth(0, 120);
    ListFeeds->header()->setStretchLastSection(true);
    auto* list = groupColumn("購読している予定表（読むだけで、自分のスケジュールとは別に表示します）", this, layout);
    list->addWidget(ListFeeds);
    auto* edit = new QHBoxLayout;
    BtnFeedRename = qt::namedButton("BtnFeedRename", "名前の変更(&R)...", this);
    BtnFeedColor = qt::namedButton("BtnFeedColor", "色(&C)...", this);
    SpinFeedInterval = qt::named(new QSpinBox(this), "SpinFeedInterval");
    SpinFeedInterval->setRange(0, kSubscriptionMaxInterval);
    SpinFeedInterval->setSuffix(QString::fromUtf8(" 分ごと"));
    SpinFeedInterval->setSpecialValueText(QString::fromUtf8("手動のみ"));
    ChkFeedHolidays = setupCheck("ChkFeedHolidays", "終日の予定を祝日として表示(&H)", this);
    BtnFeedRemove = qt::namedButton("BtnFeedRemove", "削除(&D)", this);
    edit->addWidget(BtnFeedRename);
    edit->addWidget(BtnFeedColor);
    edit->addWidget(buddyLabel("更新(&I)：", SpinFeedInterval, this));
    edit->addWidget(SpinFeedInterval);
    edit->addWidget(ChkFeedHolidays);
    edit->addStretch();
    edit->addWidget(BtnFeedRemove);
    list->addLayout(edit);
    LabelFeedState = qt::captionLabel("", this);
    LabelFeedState->setObjectName("LabelFeedState");
    LabelFeedState->setWordWrap(true);
    list->addWidget(LabelFeedState);

    auto* add = new QFormLayout;
    groupColumn("予定表の追加", this, layout)->addLayout(add);
    EditFeedName = qt::named(new QLineEdit(this), "EditFeedName");
    EditFeedUrl = qt::named(new QLineEdit(this), "EditFeedUrl");
    EditFeedUrl->setPlaceholderText(QString::fromUtf8("https://、webcal://、http:// の URL か、ファイルのパス"));
    BtnFeedAdd = qt::namedButton("BtnFeedAdd", "取得して追加(&G)", this);
    add->addRow(buddyLabel("名前(&N)：", EditFeedName, this), EditFeedName);
    add->addRow(buddyLabel("URL(&U)：", EditFeedUrl, this), EditFeedUrl);
    add->addRow(BtnFeedAdd);
    layout->addStretch();

    connect(BtnFeedAdd, &QPushButton::clicked, this, &TSetupFeedsPage::BtnFeedAddClick);
    connect(BtnFeedRemove, &QPushButton::clicked, this, &TSetupFeedsPage::BtnFeedRemoveClick);
    connect(BtnFeedRename, &QPushButton::clicked, this, &TSetupFeedsPage::BtnFeedRenameClick);
    connect(BtnFeedColor, &QPushButton::clicked, this, &TSetupFeedsPage::BtnFeedColorClick);
    connect(ListFeeds, &QTreeWidget::currentItemChanged, this, &TSetupFeedsPage::ShowSelected);
    connect(SpinFeedInterval, &QSpinBox::valueChanged, this, &TSetupFeedsPage::EditSelected);
    connect(ChkFeedHolidays, &QCheckBox::toggled, this, &TSetupFeedsPage::EditSelected);
}

TSetupFeedsPage::~TSetupFeedsPage()
{
    cancel_ = true;
    if (fetchThread_) {
        fetchThread_->wait();
        delete fetchThread_;
    }
    for (const std::string& url : unkept_)
        forgetFeed(programFolder_, url);
}

void TSetupFeedsPage::load(const AppSettings&)
{
    loaded_ = list_ = readSubscriptions(SettingsPath(programFolder_)).list;
    ShowList();
}

void TSetupFeedsPage::ShowList()
{
    const int row = ListFeeds->currentIndex().row();
    ListFeeds->clear();
    for (const Subscription& s : list_) {
        auto* item = new QTreeWidgetItem(ListFeeds, {qt::fromUtf8(s.name), qt::fromUtf8(s.url)});
        item->setForeground(0, qt::toQColor(s.color));
    }
    if (!list_.empty())
        ListFeeds->setCurrentItem(ListFeeds->topLevelItem(std::clamp(row, 0, static_cast<int>(list_.size()) - 1)));
    ShowSelected();
}

Subscription* TSetupFeedsPage::selected()
{
    const int row = ListFeeds->currentIndex().row();
    return row >= 0 && row < static_cast<int>(list_.size()) ? &list_[static_cast<std::size_t>(row)] : nullptr;
}

void TSetupFeedsPage::ShowSelected()
{
    const Subscription* s = selected();
    for (QWidget* w :
         std::initializer_list<QWidget*>{BtnFeedRemove, BtnFeedRename, BtnFeedColor, SpinFeedInterval, ChkFeedHolidays})
        w->setEnabled(s != nullptr);
    const QSignalBlocker blockSpin(SpinFeedInterval), blockCheck(ChkFeedHolidays);
    SpinFeedInterval->setValue(s ? s->interval : 0);
    ChkFeedHolidays->setChecked(s && s->holidays);
    if (!s) {
        LabelFeedState->clear();
        return;
    }
    const FeedState state = readFeedState(feedStatePath(programFolder_, s->url));
    std::string text = state.succeeded.empty() ? "まだ取得していません。" : "前回の取得: " + state.succeeded;
    if (!state.failed.empty())
        text += "\n" + state.failed + " の更新に失敗: " + state.reason;
    LabelFeedState->setText(qt::fromUtf8(text));
}

void TSetupFeedsPage::EditSelected()
{
    if (Subscription* s = selected()) {
        s->interval = SpinFeedInterval->value();
        s->holidays = ChkFeedHolidays->isChecked();
    }
}

bool TSetupFeedsPage::Refuse(const std::string& text, QWidget* field)
{
    services_.platform.messageBox(kCaption, text, MessageIcon::Warning, MessageButtons::Ok);
    if (field)
        field->setFocus();
    return false;
}

void TSetupFeedsPage::BtnFeedAddClick()
{
    if (fetchThread_)
        return;
    Subscription subscription;
    subscription.name = qt::toUtf8(EditFeedName->text().trimmed());
    subscription.url = qt::toUtf8(EditFeedUrl->text().trimmed());
    if (const std::string problem = subscriptionNameProblem(subscription.name, list_); !problem.empty()) {
        Refuse(problem, EditFeedName);
        return;
    }
    if (const FeedLocation where = feedLocation(subscription.url); !where.problem.empty()) {
        Refuse(where.problem, EditFeedUrl);
        return;
    }
    if (std::any_of(list_.begin(), list_.end(), [&](const Subscription& s) { return s.url == subscription.url; })) {
        Refuse("この URL はすでに購読しています。", EditFeedUrl);
        return;
    }
    BtnFeedAdd->setEnabled(false);
    LabelFeedState->setText(QString::fromUtf8("取得しています..."));
    cancel_ = false;
    fetchThread_ = QThread::create(
        [this, subscription, folder = programFolder_, now = services_.platform.now(), fetch = fetcher_(&cancel_)] {
            const FeedRefresh refresh = refreshFeed(subscription, folder, fetch, now);
            QMetaObject::invokeMethod(
                this, [this, subscription, refresh] { Fetched(subscription, refresh); }, Qt::QueuedConnection);
        });
    fetchThread_->start();
}

void TSetupFeedsPage::Fetched(const Subscription& subscription, const FeedRefresh& refresh)
{
    fetchThread_->wait();
    delete fetchThread_;
    fetchThread_ = nullptr;
    BtnFeedAdd->setEnabled(true);
    const bool known =
        std::any_of(loaded_.begin(), loaded_.end(), [&](const Subscription& s) { return s.url == subscription.url; });
    if (!known)
        unkept_.insert(subscription.url);
    if (refresh.outcome == FeedOutcome::Failed) {
        Refuse("予定表を取得できません。\r\n" + refresh.reason, EditFeedUrl);
    } else if (services_.platform.messageBox(kCaption,
                                             "「" + subscription.name + "」には " + std::to_string(refresh.events) +
                                                 " 件の予定があります。購読に加えますか？",
                                             MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes) {
        list_.push_back(subscription);
        EditFeedName->clear();
        EditFeedUrl->clear();
        ShowList();
        ListFeeds->setCurrentItem(ListFeeds->topLevelItem(static_cast<int>(list_.size()) - 1));
    }
    ShowSelected();
    emit fetchFinished();
}

void TSetupFeedsPage::BtnFeedRemoveClick()
{
    const Subscription* s = selected();
    if (!s || services_.platform.messageBox(kCaption, "「" + s->name + "」の購読をやめます。\r\nよろしいですか？",
                                            MessageIcon::Warning, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    list_.erase(list_.begin() + (s - list_.data()));
    ShowList();
}

void TSetupFeedsPage::BtnFeedRenameClick()
{
    Subscription* s = selected();
    if (!s)
        return;
    const std::optional<std::string> name = services_.platform.inputBox(kCaption, "新しい名前：", s->name);
    if (!name || *name == s->name)
        return;
    std::vector<Subscription> others = list_;
    others.erase(others.begin() + (s - list_.data()));
    if (const std::string problem = subscriptionNameProblem(*name, others); !problem.empty()) {
        Refuse(problem, ListFeeds);
        return;
    }
    s->name = *name;
    ShowList();
}

void TSetupFeedsPage::BtnFeedColorClick()
{
    if (Subscription* s = selected())
        if (const std::optional<ColorValue> color = services_.platform.chooseColor(s->color)) {
            s->color = *color;
            ShowList();
        }
}

bool TSetupFeedsPage::Save()
{
    if (list_ == loaded_)
        return true;
    if (files::IoResult saved = writeSubscriptions(SettingsPath(programFolder_), list_); !saved)
        return Refuse("設定ファイルを保存できません。\r\n" + saved.reason, nullptr);
    for (const Subscription& s : list_)
        unkept_.erase(s.url);
    for (const Subscription& old : loaded_)
        if (std::none_of(list_.begin(), list_.end(), [&](const Subscription& s) { return s.url == old.url; }))
            unkept_.insert(old.url);
    loaded_ = list_;
    return true;
}

} // namespace kal
