#include "lists/TDlgFind.h"

#include "lists/TFormEdit.h"
#include "platform/Files.h"
#include "platform/qt/QtText.h"
#include "platform/qt/SjisValidator.h"
#include "platform/qt/Widgets.h"
#include "schedule/Categories.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kal {
namespace {

constexpr int kKeywordBytes = 20;
constexpr int kCategoryBytes = 14;
constexpr const char* kLongDate = "yyyy'年'M'月'd'日'(dddd)";

} // namespace

TDlgFind::TDlgFind(qt::Services& services, FindRequest request, QWidget* parent)
    : QDialog(parent), services_(services), request_(std::move(request))
{
    setObjectName("TDlgFind");
    setWindowTitle(QString::fromUtf8("検索"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    buildControls();
    buildLayout();
    connect(CmbFile, &QComboBox::currentIndexChanged, this, &TDlgFind::CmbFileChange);
    connect(ChkDate, &QCheckBox::toggled, this, &TDlgFind::ChkDateClick);
    connect(BtnYear, &QPushButton::clicked, this, &TDlgFind::BtnYearClick);
    connect(BtnMonth, &QPushButton::clicked, this, &TDlgFind::BtnMonthClick);
    connect(BtnOk, &QPushButton::clicked, this, &TDlgFind::BtnOkClick);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);
    FormShow();
}

void TDlgFind::buildControls()
{
    CmbFile = qt::named(new QComboBox(this), "CmbFile");
    CmbFile->addItems({QString::fromUtf8("スケジュール"), QString::fromUtf8("メモ")});
    EditTitle = qt::named(new QLineEdit(this), "EditTitle");
    qt::limitSjisBytes(EditTitle, kKeywordBytes);
    CmbBunrui = qt::named(new QComboBox(this), "CmbBunrui");
    CmbBunrui->setEditable(true);
    CmbBunrui->setInsertPolicy(QComboBox::NoInsert);
    CmbBunrui->setMaxVisibleItems(16);
    qt::limitSjisBytes(CmbBunrui, kCategoryBytes);
    ChkDate = qt::named(new QCheckBox(QString::fromUtf8("期間(&D)："), this), "ChkDate");
    DtpFromDate = qt::dateEdit("DtpFromDate", kLongDate, this);
    DtpToDate = qt::dateEdit("DtpToDate", kLongDate, this);
    BtnYear = qt::namedButton("BtnYear", "今年", this);
    BtnMonth = qt::namedButton("BtnMonth", "今月", this);
    ChkCapital = qt::named(new QCheckBox(QString::fromUtf8("大文字と小文字を区別する。"), this), "ChkCapital");
    ChkFeeds = qt::named(new QCheckBox(QString::fromUtf8("購読している予定表も検索する(&B)"), this), "ChkFeeds");
    ChkFeeds->setVisible(request_.extras != nullptr);
    BtnOk = qt::named(new QPushButton(QString::fromUtf8("検索開始(&I)"), this), "BtnOk");
    BtnOk->setDefault(true);
    BtnClose = qt::namedButton("BtnClose", "キャンセル", this);
}

void TDlgFind::buildLayout()
{
    auto* fields = new QGridLayout;
    auto label = [this](const char* caption, QWidget* buddy) { return qt::captionLabel(caption, this, buddy); };
    fields->addWidget(label("検索対象(&T)：", CmbFile), 0, 0);
    fields->addWidget(CmbFile, 0, 1, Qt::AlignLeft);
    fields->addWidget(label("内容文字列(&S)：", EditTitle), 1, 0);
    fields->addWidget(EditTitle, 1, 1, 1, 3);
    fields->addWidget(label("分類(&C)：", CmbBunrui), 2, 0);
    fields->addWidget(CmbBunrui, 2, 1);
    fields->addWidget(ChkDate, 3, 0);
    DtpFromDate->setAccessibleName(QString::fromUtf8("日付（から）"));
    DtpToDate->setAccessibleName(QString::fromUtf8("日付（まで）"));
    auto* from = new QHBoxLayout;
    from->addWidget(DtpFromDate, 1);
    from->addWidget(qt::captionLabel("から", this));
    fields->addLayout(from, 3, 1);
    fields->addWidget(BtnYear, 3, 2);
    auto* to = new QHBoxLayout;
    to->addWidget(DtpToDate, 1);
    to->addWidget(qt::captionLabel("まで", this));
    fields->addLayout(to, 4, 1);
    fields->addWidget(BtnMonth, 4, 2);
    fields->addWidget(ChkCapital, 5, 1, 1, 3);
    fields->addWidget(ChkFeeds, 6, 1, 1, 3);
    fields->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(qt::rightAlignedRow({BtnOk, BtnClose}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TDlgFind::FormShow()
{
    CmbFile->setCurrentIndex(0);
    CmbBunrui->clear();
    const CategoryTable categories =
        CategoryTable::Load(files::withSeparator(request_.programFolder) + kCategoryFileName);
    // The names as stored, trailing blanks included, so a chosen name matches only itself.
    for (const std::string& line : categories.lines())
        CmbBunrui->addItem(qt::fromSjis(CategoryTable::NameOf(line)));
    CmbBunrui->setCurrentIndex(-1);
    CmbBunrui->clearEditText();
    const QDate today = qt::toQDate(services_.platform.now().date);
    DtpFromDate->setDate(today);
    DtpToDate->setDate(today);
    ChkDate->setChecked(false);
    ChkDateClick();
    CmbFileChange();
    // Qt cannot ask an input method for hiragana, so AutoIme leaves the keyword alone.
    EditTitle->setFocus();
}

void TDlgFind::CmbFileChange()
{
    CmbBunrui->setEnabled(CmbFile->currentIndex() != 1);
}

void TDlgFind::ChkDateClick()
{
    const bool dates = ChkDate->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{DtpFromDate, DtpToDate, BtnYear, BtnMonth})
        w->setEnabled(dates);
}

void TDlgFind::setRange(const Date& from, const Date& to)
{
    DtpFromDate->setDate(qt::toQDate(from));
    DtpToDate->setDate(qt::toQDate(to));
}

void TDlgFind::BtnYearClick()
{
    const int year = services_.platform.now().date.year;
    setRange(Date{year, 1, 1}, Date{year, 12, 31});
}

void TDlgFind::BtnMonthClick()
{
    const Date today = services_.platform.now().date;
    setRange(Date{today.year, today.month, 1}, Date{today.year, today.month, daysInMonth(today.year, today.month)});
}

SearchCriteria TDlgFind::Criteria() const
{
    SearchCriteria c;
    c.target = CmbFile->currentIndex() == 1 ? SearchTarget::Memos : SearchTarget::Schedules;
    c.keyword = qt::toSjisLossy(EditTitle->text());
    c.letterCase = ChkCapital->isChecked() ? LetterCase::Match : LetterCase::Ignore;
    c.subscriptions = request_.extras && ChkFeeds->isChecked() && c.target == SearchTarget::Schedules;
    c.category = qt::toSjisLossy(CmbBunrui->currentText());
    if (ChkDate->isChecked()) {
        c.from = qt::fromQDate(DtpFromDate->date());
        c.to = qt::fromQDate(DtpToDate->date());
    }
    return c;
}

QWidget* TDlgFind::fieldWidget(SearchField field) const
{
    switch (field) {
    case SearchField::Target:
        return CmbFile;
    case SearchField::Keyword:
        return EditTitle;
    case SearchField::FromDate:
        break;
    }
    return DtpFromDate;
}

void TDlgFind::BtnOkClick()
{
    const SearchCriteria criteria = Criteria();
    if (std::optional<SearchInputError> error = CheckSearchInput(criteria, CmbFile->currentIndex() >= 0)) {
        services_.platform.messageBox(kSearchErrorCaption, error->message, MessageIcon::Error, MessageButtons::Ok);
        fieldWidget(error->focus)->setFocus();
        return;
    }
    FormEditRequest request{.follower = request_.follower};
    request.mode = criteria.target == SearchTarget::Memos ? ListMode::Memos : ListMode::Schedules;
    request.dataPath = request_.dataPath;
    request.memoPath = request_.memoPath;
    request.programFolder = request_.programFolder;
    request.selected = services_.platform.now().date;
    request.search = criteria;
    request.autoIme = request_.autoIme;
    request.editDayMemo = request_.editDayMemo;
    request.extras = request_.extras;
    TFormEdit results(services_, request, this);
    results.setGeometry(
        qt::keptOnScreen(QRect(geometry().topLeft(), QSize(results.width(), request_.resultHeight)), this));
    services_.dialogs.run(results);
    changed_ = changed_ || results.changed();
    // Nothing found: the criteria stay to be changed.
    if (!results.nothingFound())
        accept();
}

} // namespace kal
