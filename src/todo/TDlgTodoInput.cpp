#include "todo/TDlgTodoInput.h"

#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/qt/QtText.h"
#include "platform/qt/SjisValidator.h"
#include "platform/qt/Widgets.h"
#include "schedule/TDlgCatSet.h"
#include "schedule/qt/CategoryCombo.h"
#include "todo/TodoMemo.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace kal {
namespace {

constexpr const char* kLongDate = "yyyy'年'M'月'd'日'(dddd)";

const char* captionOf(TodoInputMode mode)
{
    switch (mode) {
    case TodoInputMode::Edit:
        return "ToDo訂正";
    case TodoInputMode::CopyFromSchedule:
        return "スケジュールをToDoにコピー";
    case TodoInputMode::New:
        break;
    }
    return "ToDo新規登録";
}

} // namespace

TDlgTodoInput::TDlgTodoInput(qt::Services& services, TodoInputRequest request, QWidget* parent)
    : QDialog(parent), services_(services), request_(std::move(request))
{
    setObjectName("TDlgTodoInput");
    buildControls();
    buildLayout();
    connectHandlers();
    FormShow();
}

void TDlgTodoInput::buildControls()
{
    DtpTodoLimit = qt::dateEdit("DtpTodoLimit", kLongDate, this);
    ChkNonLimit = qt::named(new QCheckBox(QString::fromUtf8("期限日なし(&N)"), this), "ChkNonLimit");
    EditTitle = qt::named(new QLineEdit(this), "EditTitle");
    qt::limitSjisBytes(EditTitle, kTodoTitleBytes);
    MemoTodo = qt::named(new QPlainTextEdit(this), "MemoTodo");
    MemoTodo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoTodo->setTabChangesFocus(true);
    qt::keepSjisOnly(MemoTodo);

    RadioPri = qt::named(new QGroupBox(QString::fromUtf8("優先度(&P)"), this), "RadioPri");
    RadioPriButtons = new QButtonGroup(RadioPri);
    auto* priorities = new QHBoxLayout(RadioPri);
    const char* names[] = {"Ａ", "Ｂ", "Ｃ", "Ｄ"};
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(names[i]), RadioPri);
        radio->setObjectName(QString("RadioPri%1").arg(i));
        RadioPriButtons->addButton(radio, i);
        priorities->addWidget(radio);
    }

    CmbBunrui = qt::named(new QComboBox(this), "CmbBunrui");
    qt::SetupCategoryCombo(CmbBunrui);
    BtnCat = qt::namedButton("BtnCat", "分類の設定", this);

    TrackProgress = qt::named(new QSlider(Qt::Horizontal, this), "TrackProgress");
    TrackProgress->setRange(0, kTodoMaxProgress);
    TrackProgress->setPageStep(1);
    TrackProgress->setTickPosition(QSlider::TicksBelow);
    TrackProgress->setTickInterval(1);
    LabelProgress = qt::named(new QLabel(this), "LabelProgress");
    LabelProgress->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    LabelProgress->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LabelProgress->setMinimumWidth(LabelProgress->fontMetrics().horizontalAdvance("100%") + 12);

    ChkTask = qt::named(new QCheckBox(QString::fromUtf8("処理済(&K)"), this), "ChkTask");
    DtpTodoOk = qt::dateEdit("DtpTodoOk", kLongDate, this);

    BtnOk = qt::named(new QPushButton("OK", this), "BtnOk");
    BtnOk->setDefault(true);
    BtnCancel = qt::namedButton("BtnCancel", "キャンセル", this);
}

void TDlgTodoInput::buildLayout()
{
    auto* fields = new QGridLayout;
    fields->addWidget(qt::captionLabel("期限日(&L)：", this, DtpTodoLimit), 0, 0);
    fields->addWidget(DtpTodoLimit, 0, 1);
    fields->addWidget(ChkNonLimit, 0, 2);
    fields->addWidget(qt::captionLabel("件名(&T)：", this, EditTitle), 1, 0);
    fields->addWidget(EditTitle, 1, 1, 1, 3);
    fields->addWidget(qt::captionLabel("メモ(&M)：", this, MemoTodo), 2, 0, Qt::AlignTop);
    fields->addWidget(MemoTodo, 2, 1, 1, 3);
    fields->addWidget(RadioPri, 3, 1, 1, 3);
    fields->addWidget(qt::captionLabel("分類(&G)：", this, CmbBunrui), 4, 0);
    fields->addWidget(CmbBunrui, 4, 1, 1, 2);
    fields->addWidget(BtnCat, 4, 3);
    fields->addWidget(qt::captionLabel("進捗率(&R)：", this, TrackProgress), 5, 0);
    auto* progress = new QHBoxLayout;
    progress->addWidget(TrackProgress, 1);
    progress->addWidget(LabelProgress);
    fields->addLayout(progress, 5, 1, 1, 3);
    fields->addWidget(ChkTask, 6, 1);
    auto* done = new QHBoxLayout;
    done->addWidget(qt::captionLabel("処理日(&D)：", this, DtpTodoOk));
    done->addWidget(DtpTodoOk, 1);
    fields->addLayout(done, 6, 2, 1, 2);
    fields->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(qt::rightAlignedRow({BtnOk, BtnCancel}));
    resize(440, 360);
}

void TDlgTodoInput::connectHandlers()
{
    connect(BtnOk, &QPushButton::clicked, this, &TDlgTodoInput::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ChkNonLimit, &QCheckBox::toggled, this, &TDlgTodoInput::ChkNonLimitClick);
    connect(ChkTask, &QCheckBox::toggled, this, &TDlgTodoInput::ChkTaskClick);
    connect(TrackProgress, &QSlider::valueChanged, this, &TDlgTodoInput::TrackProgressChange);
    connect(BtnCat, &QPushButton::clicked, this, &TDlgTodoInput::BtnCatClick);
}

void TDlgTodoInput::FormShow()
{
    setWindowTitle(QString::fromUtf8(captionOf(request_.mode)));
    fillCategoryRows();
    const Date date = isValidDate(request_.date.year, request_.date.month, request_.date.day)
                          ? request_.date
                          : services_.platform.now().date;
    DtpTodoLimit->setDate(qt::toQDate(date));
    // A schedule copied to the list starts its done date today; the others at the chosen day.
    DtpTodoOk->setDate(
        qt::toQDate(request_.mode == TodoInputMode::CopyFromSchedule ? services_.platform.now().date : date));
    RadioPriButtons->button(1)->setChecked(true);
    TrackProgress->setValue(0);
    TrackProgressChange();
    ChkTask->setChecked(request_.done);
    ChkTaskClick();
    ChkNonLimitClick();

    if (request_.mode == TodoInputMode::CopyFromSchedule) {
        EditTitle->setText(qt::fromSjis(text::cutBytes(request_.title, kTodoTitleBytes)));
        if (request_.categoryIndex >= 0 && request_.categoryIndex < CmbBunrui->count())
            CmbBunrui->setCurrentIndex(request_.categoryIndex);
    } else if (request_.mode == TodoInputMode::Edit) {
        showEntry();
    }
    applyMemoAvailability();
    // Qt cannot ask an input method for hiragana, so AutoIme leaves the title and memo alone;
    // the setting travels with the request for when it can.
    EditTitle->setFocus();
}

void TDlgTodoInput::fillCategoryRows()
{
    categories_ = CategoryTable::Load(files::withSeparator(request_.programFolder) + kCategoryFileName);
    qt::FillCategoryRows(CmbBunrui, categories_);
}

void TDlgTodoInput::showEntry()
{
    const std::optional<TodoFields> entry = ParseTodo(request_.edited.line);
    if (!entry)
        return;
    ChkNonLimit->setChecked(!entry->deadline);
    if (entry->deadline)
        DtpTodoLimit->setDate(qt::toQDate(*entry->deadline));
    RadioPriButtons->button(entry->priority)->setChecked(true);
    DtpTodoOk->setDate(qt::toQDate(entry->doneDate));
    CmbBunrui->setCurrentIndex(categories_.FindExact(entry->category));
    EditTitle->setText(qt::fromSjis(entry->title));
    TrackProgress->setValue(entry->progress);
    loadedMemo_ = LoadTodoMemo(request_.todoFolder, entry->memoNumber);
    MemoTodo->setPlainText(qt::fromSjis(MemoTextOfLines(loadedMemo_)));
}

void TDlgTodoInput::applyMemoAvailability()
{
    // With every memo number taken, a memo cannot be kept: say so before anything is typed.
    if (TodoMemoAvailable(request_.todoFolder, request_.mode, request_.edited))
        return;
    MemoTodo->setEnabled(false);
    QPalette palette = MemoTodo->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    MemoTodo->setPalette(palette);
    MemoTodo->setPlaceholderText(QString::fromUtf8("メモの最大登録件数をオーバーしています。"));
}

void TDlgTodoInput::ChkNonLimitClick()
{
    DtpTodoLimit->setEnabled(!ChkNonLimit->isChecked());
}

void TDlgTodoInput::ChkTaskClick()
{
    DtpTodoOk->setEnabled(ChkTask->isChecked());
}

void TDlgTodoInput::TrackProgressChange()
{
    LabelProgress->setText(QString::number(TrackProgress->value() * 10) + "%");
}

void TDlgTodoInput::BtnCatClick()
{
    TDlgCatSet dialog(services_, request_.programFolder, this);
    dialog.move(pos());
    if (services_.dialogs.run(dialog) != QDialog::Accepted)
        return;
    fillCategoryRows();
}

TodoFields TDlgTodoInput::fieldsFromControls() const
{
    TodoFields f;
    if (!ChkNonLimit->isChecked())
        f.deadline = qt::fromQDate(DtpTodoLimit->date());
    f.priority = std::max(0, RadioPriButtons->checkedId());
    f.progress = TrackProgress->value();
    f.done = ChkTask->isChecked();
    f.doneDate = qt::fromQDate(DtpTodoOk->date());
    const int category = CmbBunrui->currentIndex();
    if (category >= 0 && category < static_cast<int>(categories_.size()))
        f.category = CategoryTable::NameOf(categories_.lines()[static_cast<std::size_t>(category)]);
    f.title = text::cutBytes(qt::toSjisLossy(EditTitle->text()), kTodoTitleBytes);
    return f;
}

std::vector<std::string> TDlgTodoInput::memoLines() const
{
    return MemoLinesOfText(qt::toSjisLossy(MemoTodo->toPlainText()));
}

void TDlgTodoInput::BtnOkClick()
{
    if (EditTitle->text().isEmpty()) {
        services_.platform.messageBox("入力エラー", "件名が未入力です。", MessageIcon::Error, MessageButtons::Ok);
        EditTitle->setFocus();
        return;
    }
    TodoEntry entry;
    entry.mode = request_.mode;
    entry.edited = request_.edited;
    entry.fields = fieldsFromControls();
    entry.memo = memoLines();
    entry.memoChanged = entry.memo != loadedMemo_;
    showStoreResult(StoreTodoEntry(request_.todoFolder, entry, request_.follower));
}

void TDlgTodoInput::showStoreResult(const TodoEntryResult& stored)
{
    const std::string caption = qt::toUtf8(windowTitle());
    switch (stored.result.status) {
    case store::EditStatus::Changed:
        changedMeanwhile_ = true;
        services_.platform.messageBox(caption, "ToDoが他で変更されています。\r\n表示を更新します。",
                                      MessageIcon::Information, MessageButtons::Ok);
        reject();
        return;
    case store::EditStatus::WriteFailed:
        services_.platform.messageBox(caption, "ToDoを保存できません。\r\n" + stored.result.reason, MessageIcon::Error,
                                      MessageButtons::Ok);
        return;
    case store::EditStatus::Done:
        break;
    }
    if (stored.memoRefused)
        services_.platform.messageBox("最大件数オーバー",
                                      "内容情報の最大登録件数をオーバーしています。\r\n不要なToDoを削除して下さい。",
                                      MessageIcon::Error, MessageButtons::Ok);
    accept();
}

} // namespace kal
