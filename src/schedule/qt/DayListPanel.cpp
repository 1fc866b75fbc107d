#include "schedule/qt/DayListPanel.h"

#include "platform/ByteText.h"
#include "platform/DateFormat.h"
#include "platform/SjisCodec.h"
#include "platform/qt/QtText.h"
#include "platform/qt/ResourceIcon.h"
#include "platform/qt/Widgets.h"
#include "schedule/qt/ScheduleInput.h"

#include <QAction>
#include <QLabel>
#include <QTreeWidget>

namespace kal::qt {
namespace {

constexpr int kFileRole = Qt::UserRole + 1;
constexpr int kIndexRole = Qt::UserRole + 2;
constexpr int kLineRole = Qt::UserRole + 3;
constexpr int kIconRole = Qt::UserRole + 4;
constexpr int kExtraRole = Qt::UserRole + 5;

QString extraColumnText(SchViewFlag column, const ExtraSchedule& entry)
{
    switch (column) {
    case SchViewFlag::StartTime:
        return fromSjis(entry.start);
    case SchViewFlag::EndTime:
        return fromSjis(entry.end);
    case SchViewFlag::Contents:
        return fromSjis(entry.title);
    case SchViewFlag::Place:
        return fromSjis(entry.place);
    case SchViewFlag::Category:
        return QString::fromUtf8("購読:") + fromSjis(entry.source);
    case SchViewFlag::AlarmIcon:
        break;
    }
    return {};
}

// The entry as a record of the selected day, for the input dialog's copy.
std::string recordOf(const ExtraSchedule& entry)
{
    ScheduleFields fields;
    fields.day = entry.date.day;
    fields.start = entry.start;
    fields.end = entry.end;
    fields.title = entry.title;
    fields.place = entry.place;
    return ComposeSchedule(fields);
}

// Text of one column: 1 start, 2 end, 3 contents, 4 place, 5 category.
QString columnText(SchViewFlag column, const std::string& record)
{
    switch (column) {
    case SchViewFlag::StartTime:
        return fromSjis(text::trimRight(RecStart(record)));
    case SchViewFlag::EndTime:
        return fromSjis(text::trimRight(RecEnd(record)));
    case SchViewFlag::Contents:
        return fromSjis(RecTitle(record));
    case SchViewFlag::Place:
        return fromSjis(text::trimRight(RecPlace(record)));
    case SchViewFlag::Category:
        return fromSjis(text::trimRight(RecCategory(record)));
    case SchViewFlag::AlarmIcon:
        break;
    }
    return {};
}

// The columns whose widths the window keeps: SchWidth, PlcWidth, CatWidth.
constexpr SchViewFlag kSizedColumns[] = {SchViewFlag::Contents, SchViewFlag::Place, SchViewFlag::Category};

const char* stateIcon(const std::string& record, bool alarmsOn)
{
    const char* icon = RecSound(record) ? "alarm" : RecMessage(record) ? "message" : nullptr;
    if (icon && !alarmsOn)
        return "alarm-off";
    return icon;
}

} // namespace

DayListPanel::DayListPanel(const PanelContext& context, QWidget* window)
    : QObject(window), context_(context), window_(window)
{
    PanelDaySch = new QLabel(window);
    PanelDaySch->setObjectName("PanelDaySch");
    setFixedHeightForFont(PanelDaySch, 20);
    PanelDaySch->setTextFormat(Qt::PlainText);
    PanelDaySch->setFrameStyle(QFrame::Panel | QFrame::Raised);
    ListDaySch = reportList(window, "ListDaySch");
    ListDaySch->setAccessibleName(QString::fromUtf8("選択日のスケジュール"));
    ListDaySch->setSelectionMode(QAbstractItemView::SingleSelection);
    ListDaySch->setContextMenuPolicy(Qt::CustomContextMenu);
    ListDaySch->setMinimumHeight(58);
    createCommands();
}

void DayListPanel::createCommands()
{
    MenuSchAdd = namedAction(this, "MenuSchAdd", "スケジュールの追加(&A)");
    TBtnSchAdd = toolAction(this, "TBtnSchAdd", "スケジュールの追加", "tb-sch-add");
    PopSchNew = namedAction(this, "PopSchNew", "スケジュールの追加(&A)");
    PopTraySchAdd = namedAction(this, "PopTraySchAdd", "スケジュールの追加(&A)");
    PopDayNew = namedAction(this, "PopDayNew", "スケジュールの追加(&A)");
    PopDayRep = namedAction(this, "PopDayRep", "スケジュールの訂正(&R)");
    PopDayCopy = namedAction(this, "PopDayCopy", "スケジュールのコピー(&C)");
    PopDayDel = namedAction(this, "PopDayDel", "スケジュールの削除(&D)");
    // Until the pop-up menu first shows, its entries wait.
    for (QAction* a : {PopDayNew, PopDayRep, PopDayCopy, PopDayDel})
        a->setEnabled(false);
    for (QAction* a : {MenuSchAdd, TBtnSchAdd, PopSchNew, PopDayNew, PopTraySchAdd})
        connect(a, &QAction::triggered, this, &DayListPanel::DaySchInputAdd);
    connect(PopDayRep, &QAction::triggered, this, [this] { DaySchInputRep(PopDayRep); });
    connect(PopDayCopy, &QAction::triggered, this, [this] { DaySchInputRep(PopDayCopy); });
    connect(PopDayDel, &QAction::triggered, this, &DayListPanel::DaySchDel);
    onDoubleClick(ListDaySch, [this](const QModelIndex& entry) { ListDaySchDblClick(entry.isValid()); });
}

void DayListPanel::ListCreate()
{
    const AppSettings& settings = context_.settings;
    struct Column {
        SchViewFlag flag;
        const char* caption;
        int width;
    };
    const Column dayColumns[] = {{SchViewFlag::AlarmIcon, "", 20},
                                 {SchViewFlag::StartTime, "開始", 38},
                                 {SchViewFlag::EndTime, "終了", 38},
                                 {SchViewFlag::Contents, "内容", settings.schWidth},
                                 {SchViewFlag::Place, "場所", settings.plcWidth},
                                 {SchViewFlag::Category, "分類", settings.catWidth}};
    QStringList captions;
    std::vector<int> widths;
    dayColumns_.clear();
    for (const Column& column : dayColumns) {
        const bool shown = settings.schView.on(column.flag);
        // Without the icon column a zero-width one keeps the text columns in place.
        if (shown || column.flag == SchViewFlag::AlarmIcon) {
            captions << QString::fromUtf8(column.caption);
            widths.push_back(shown ? column.width : 0);
            dayColumns_.push_back(column.flag);
        }
    }
    // Times must stay readable in whatever font the desktop gives.
    const int timeWidth = std::max(38, ListDaySch->fontMetrics().horizontalAdvance("00:00") + 12);
    for (std::size_t c = 0; c < dayColumns_.size(); ++c)
        if ((dayColumns_[c] == SchViewFlag::StartTime || dayColumns_[c] == SchViewFlag::EndTime) && widths[c] > 0)
            widths[c] = timeWidth;
    ListDaySch->clear();
    ListDaySch->setColumnCount(captions.size());
    ListDaySch->setHeaderLabels(captions);
    ListDaySch->headerItem()->setData(0, Qt::AccessibleTextRole, QString::fromUtf8("アラーム"));
    for (std::size_t i = 0; i < widths.size(); ++i)
        ListDaySch->setColumnWidth(static_cast<int>(i), widths[i]);
}

void DayListPanel::DayListSet()
{
    const AppSettings& settings = context_.settings;
    QPalette palette = ListDaySch->palette();
    palette.setColor(QPalette::Base, toQColor(settings.colors[ColDayList].back));
    palette.setColor(QPalette::Text, toQColor(settings.colors[ColWeekday].text));
    ListDaySch->setPalette(palette);
}

void DayListPanel::FillDayList(const std::vector<ScheduleRef>& entries, const std::vector<ExtraSchedule>& extras)
{
    ListDaySch->clear();
    extras_ = extras;
    const bool alarmsOn = context_.settings.alarm != 0;
    for (const ScheduleRef& entry : entries) {
        auto* item = new QTreeWidgetItem(ListDaySch);
        for (std::size_t c = 0; c < dayColumns_.size(); ++c)
            item->setText(static_cast<int>(c), columnText(dayColumns_[c], entry.line));
        if (const char* icon = stateIcon(entry.line, alarmsOn)) {
            item->setIcon(0, resourceIcon(QString::fromLatin1(icon)));
            item->setData(0, kIconRole, QString::fromLatin1(icon));
            item->setData(0, Qt::AccessibleTextRole, QString::fromUtf8("アラーム"));
        }
        item->setData(0, kFileRole, QByteArray::fromStdString(entry.file));
        item->setData(0, kIndexRole, entry.index);
        item->setData(0, kLineRole, QByteArray::fromStdString(entry.line));
    }
    for (std::size_t i = 0; i < extras_.size(); ++i) {
        auto* item = new QTreeWidgetItem(ListDaySch);
        for (std::size_t c = 0; c < dayColumns_.size(); ++c) {
            item->setText(static_cast<int>(c), extraColumnText(dayColumns_[c], extras_[i]));
            item->setForeground(static_cast<int>(c), toQColor(extras_[i].color));
        }
        item->setData(0, kExtraRole, static_cast<int>(i));
        item->setToolTip(
            0, QString::fromUtf8("購読している予定表「%1」の予定（変更できません）").arg(fromSjis(extras_[i].source)));
    }
}

const ExtraSchedule* DayListPanel::SelectedExtra() const
{
    QTreeWidgetItem* item = ListDaySch->currentItem();
    if (!item || !item->isSelected() || !item->data(0, kExtraRole).isValid())
        return nullptr;
    const auto index = static_cast<std::size_t>(item->data(0, kExtraRole).toInt());
    return index < extras_.size() ? &extras_[index] : nullptr;
}

void DayListPanel::RefuseExtraEdit(const ExtraSchedule& entry)
{
    const std::string question = "「" + sjis::toUtf8(entry.title) + "」は購読している予定表「" +
                                 sjis::toUtf8(entry.source) +
                                 "」の予定のため、訂正・移動・削除・コピーはできません。\r\n"
                                 "自分のスケジュールにコピーしますか？";
    if (context_.services.platform.messageBox("購読している予定", question, MessageIcon::Information,
                                              MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    SchInputRequest request{.follower = store::Follower(context_.follower)};
    request.mode = SchInputMode::Copy;
    request.date = entry.date;
    request.record = ScheduleRef{{}, -1, recordOf(entry)};
    if (RunScheduleInput(context_, request, window_))
        context_.rebuildMonth();
}

void DayListPanel::ShowDayHeader(const DaySchedules& day)
{
    const char* pattern =
        day.eraDates ? " ggge\"年\"m\"月\"d\"日（\"aaaa\"）の予定\"" : " yyyy\"年\"m\"月\"d\"日（\"aaaa\"）の予定\"";
    QString header = fromUtf8(text::formatDateUtf8(pattern, day.date));
    if (day.holiday)
        header += " - " + fromSjis(*day.holiday);
    header += QString::fromUtf8(" [%1件］").arg(day.entries.size() + day.extras.size());
    PanelDaySch->setText(header);
    QPalette palette = PanelDaySch->palette();
    palette.setColor(QPalette::WindowText, toQColor(day.headerColor));
    PanelDaySch->setPalette(palette);
}

std::optional<ScheduleRef> DayListPanel::SchKeySearch() const
{
    QTreeWidgetItem* item = ListDaySch->currentItem();
    if (!item || !item->isSelected() || item->data(0, kExtraRole).isValid())
        return std::nullopt;
    ScheduleRef ref;
    ref.file = item->data(0, kFileRole).toByteArray().toStdString();
    ref.index = item->data(0, kIndexRole).toInt();
    ref.line = item->data(0, kLineRole).toByteArray().toStdString();
    return ref;
}

void DayListPanel::DaySchInputAdd()
{
    SchInputRequest request{.follower = store::Follower(context_.follower)};
    request.mode = SchInputMode::New;
    request.date = context_.selectedDate();
    if (RunScheduleInput(context_, request, window_))
        context_.rebuildMonth();
}

void DayListPanel::DaySchInputRep(QAction* invokedBy)
{
    if (const ExtraSchedule* extra = SelectedExtra()) {
        RefuseExtraEdit(*extra);
        return;
    }
    std::optional<ScheduleRef> ref = SchKeySearch();
    if (!ref) {
        DaySchInputAdd();
        return;
    }
    SchInputRequest request{.follower = store::Follower(context_.follower)};
    request.mode = invokedBy == PopDayCopy ? SchInputMode::Copy : SchInputMode::Correct;
    request.date = context_.selectedDate();
    request.record = *ref;
    if (RunScheduleInput(context_, request, window_))
        context_.rebuildMonth();
}

void DayListPanel::ListDaySchDblClick(bool onEntry)
{
    // Empty space below the entries adds, whatever entry is still selected.
    if (onEntry)
        DaySchInputRep(nullptr);
    else
        DaySchInputAdd();
}

void DayListPanel::ScheduleChangedMeanwhile(const char* caption)
{
    ReportScheduleChanged(context_.services.platform, caption);
    context_.rebuildMonth();
}

void DayListPanel::DaySchDel()
{
    if (const ExtraSchedule* extra = SelectedExtra()) {
        RefuseExtraEdit(*extra);
        return;
    }
    std::optional<ScheduleRef> ref = SchKeySearch();
    if (!ref)
        return;
    const char* caption = "スケジュールの削除";
    Platform& platform = context_.services.platform;
    if (!MonthEditable(platform, context_.settings.dataPath, context_.selectedDate(), caption))
        return;
    switch (CheckSchedule(*ref)) {
    case RecordCheck::Found:
        break;
    case RecordCheck::Changed:
        ScheduleChangedMeanwhile(caption);
        return;
    case RecordCheck::Gone:
        // Nothing is left to ask about; the list shows the files again.
        context_.rebuildMonth();
        return;
    }
    std::string question = "「" + sjis::toUtf8(RecTitle(ref->line)) + "」を削除します。\r\nよろしいですか？";
    if (platform.messageBox(caption, question, MessageIcon::Warning, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    store::EditResult result = DeleteSchedule(*ref, store::Follower(context_.follower));
    switch (result.status) {
    case store::EditStatus::Done:
        context_.rebuildMonth();
        break;
    case store::EditStatus::Changed:
        ScheduleChangedMeanwhile(caption);
        break;
    case store::EditStatus::WriteFailed:
        platform.messageBox(caption, "スケジュールを削除できません。\r\n" + result.reason, MessageIcon::Error,
                            MessageButtons::Ok);
        break;
    }
}

void DayListPanel::PopupDayPopup()
{
    // A subscribed calendar's entry takes them too, to be told why not and offered a copy.
    const bool selected = SchKeySearch().has_value() || SelectedExtra();
    PopDayNew->setEnabled(true);
    for (QAction* a : {PopDayRep, PopDayCopy, PopDayDel})
        a->setEnabled(selected);
}

std::array<std::optional<int>, 3> DayListPanel::DayColumnWidths() const
{
    std::array<std::optional<int>, 3> widths;
    for (std::size_t column = 0; column < dayColumns_.size(); ++column)
        for (std::size_t sized = 0; sized < widths.size(); ++sized)
            if (dayColumns_[column] == kSizedColumns[sized])
                widths[sized] = ListDaySch->columnWidth(static_cast<int>(column));
    return widths;
}

} // namespace kal::qt
