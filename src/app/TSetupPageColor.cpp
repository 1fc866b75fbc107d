#include "app/TSetupPageColor.h"

#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kal {

namespace {

const char* const kColorNames[ColorItemCount] = {
    "選択日の枠",         "カレンダー平日",   "カレンダー土曜日", "カレンダー日曜日", "カレンダー祝日",
    "カレンダー休日",     "カレンダー記念日", "カレンダー前次月", "カレンダー今日",   "カレンダー六曜",
    "スケジュールリスト", "メモリスト",       "ToDo未処理",       "ToDo処理済",       "カレンダー年",
    "カレンダー月",       "カレンダー元号年", "ノート",           "デジタル時計日付", "デジタル時計曜日",
    "デジタル時計時刻"};

const char* const kFontNames[FontItemCount] = {
    "カレンダーの日付", "月間カレンダーのスケジュール", "週間カレンダーのスケジュール", "メモリスト",
    "ノート",           "ミニカレンダーの日付"};

bool hasTextButton(int item)
{
    for (int without : {0, 8, 10, 11, 12, 13, 17})
        if (item == without)
            return false;
    return true;
}

bool hasBackButton(int item)
{
    return (item >= 0 && item <= 5) || item == 7 || item == 8 || (item >= 10 && item <= 13) || item == 17 || item == 18;
}

// Sample columns, Monday first: the colour item, the day, the kind of day.
struct SampleDay {
    int item;
    int day;
    const char* kind;
};
const SampleDay kSampleDays[7] = {
    {ColOtherMonth, 31, "前次月"}, {ColWeekday, 1, "平日"},  {ColHoliday, 2, "祝日"}, {ColDayOff, 3, "休日"},
    {ColAnniversary, 4, "記念日"}, {ColSaturday, 5, "土曜"}, {ColSunday, 6, "日曜"}};
const char* const kRokuyo[6] = {"先勝", "友引", "先負", "仏滅", "大安", "赤口"};
const char* const kWeekdaysJa[7] = {"月", "火", "水", "木", "金", "土", "日"};
const char* const kWeekdaysEn[7] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr int kSwatchWidth = 60;

} // namespace

TSetupColorPage::TSetupColorPage(qt::Services& services, std::string programFolder, QWidget* parent)
    : TSetupPage(parent), services_(services), programFolder_(std::move(programFolder))
{
    auto* layout = pageColumn(this);
    CmbSetcol = qt::named(new QComboBox(this), "CmbSetcol");
    CmbSetcol->setMinimumWidth(160);
    BtnSavecol = qt::namedButton("BtnSavecol", "配色の保存(&S)...", this);
    BtnDelcol = qt::namedButton("BtnDelcol", "配色の削除(&D)", this);
    auto* setRow = new QHBoxLayout;
    setRow->addWidget(qt::captionLabel("配色：", this));
    setRow->addWidget(CmbSetcol, 1);
    setRow->addWidget(BtnSavecol);
    setRow->addWidget(BtnDelcol);
    layout->addLayout(setRow);

    auto* lists = new QHBoxLayout;
    auto* colorColumn = new QVBoxLayout;
    ListColor = qt::named(new QListWidget(this), "ListColor");
    ListColor->setIconSize(QSize(kSwatchWidth, 16));
    for (const char* name : kColorNames)
        ListColor->addItem(QString::fromUtf8(name));
    BtnFontCol = qt::namedButton("BtnFontCol", "文字色(&F)...", this);
    BtnBackCol = qt::namedButton("BtnBackCol", "背景色(&B)...", this);
    colorColumn->addWidget(ListColor);
    colorColumn->addLayout(qt::rightAlignedRow({BtnFontCol, BtnBackCol}));
    auto* fontColumn = new QVBoxLayout;
    ListFont = qt::named(new QListWidget(this), "ListFont");
    for (const char* name : kFontNames)
        ListFont->addItem(QString::fromUtf8(name));
    PanelFont = qt::named(new QLabel(this), "PanelFont");
    PanelFont->setFrameShape(QFrame::StyledPanel);
    PanelFont->setMinimumHeight(32);
    BtnFont = qt::namedButton("BtnFont", "フォント(&N)...", this);
    fontColumn->addWidget(ListFont);
    fontColumn->addWidget(PanelFont);
    fontColumn->addLayout(qt::rightAlignedRow({BtnFont}));
    lists->addLayout(colorColumn, 3);
    lists->addLayout(fontColumn, 2);
    layout->addLayout(lists);

    GridSample = qt::named(new QTableWidget(2, 7, this), "GridSample");
    GridSample->horizontalHeader()->hide();
    GridSample->verticalHeader()->hide();
    GridSample->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    GridSample->setRowHeight(0, 22);
    GridSample->setRowHeight(1, 64);
    GridSample->setFixedHeight(22 + 64 + 4);
    GridSample->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridSample->setSelectionMode(QAbstractItemView::NoSelection);
    GridSample->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(GridSample);

    connect(BtnSavecol, &QPushButton::clicked, this, &TSetupColorPage::BtnSavecolClick);
    connect(CmbSetcol, &QComboBox::activated, this, &TSetupColorPage::CmbSetcolChange);
    connect(BtnDelcol, &QPushButton::clicked, this, &TSetupColorPage::BtnDelcolClick);
    connect(ListColor, &QListWidget::currentRowChanged, this, &TSetupColorPage::ListColorClick);
    connect(BtnFontCol, &QPushButton::clicked, this, &TSetupColorPage::BtnFontColClick);
    connect(BtnBackCol, &QPushButton::clicked, this, &TSetupColorPage::BtnBackColClick);
    connect(ListFont, &QListWidget::currentRowChanged, this, &TSetupColorPage::ListFontClick);
    connect(BtnFont, &QPushButton::clicked, this, &TSetupColorPage::BtnFontClick);
    connect(GridSample, &QTableWidget::cellClicked, this, &TSetupColorPage::GridSampleClick);
}

void TSetupColorPage::load(const AppSettings& s)
{
    colors_ = s.colors;
    fonts_ = s.fonts;
    dateJap_ = s.dateJap == 1;
    rikuyo_ = s.rikuyo;
    ListSets("");
    ListColor->setCurrentRow(0);
    ListFont->setCurrentRow(0);
    ListColorClick();
    ListFontClick();
    DrawColors();
}

void TSetupColorPage::store(AppSettings& s) const
{
    s.colors = colors_;
    s.fonts = fonts_;
}

void TSetupColorPage::ListSets(const std::string& select)
{
    CmbSetcol->clear();
    for (const std::string& name : listColorSets(programFolder_))
        CmbSetcol->addItem(qt::fromUtf8(name));
    CmbSetcol->setCurrentIndex(select.empty() ? -1 : CmbSetcol->findText(qt::fromUtf8(select)));
    BtnDelcol->setEnabled(CmbSetcol->currentIndex() >= 0);
}

void TSetupColorPage::ShowFailure(const std::string& text)
{
    services_.platform.messageBox("エラー", text, MessageIcon::Error, MessageButtons::Ok);
}

void TSetupColorPage::BtnSavecolClick()
{
    std::optional<std::string> name = services_.platform.inputBox("配色の保存", "作成した配色を保存する名前：", "");
    if (!name || name->empty())
        return;
    if (!colorSetNameAllowed(*name)) {
        ShowFailure("配色の名前には「/」「\\」や制御文字を使えません。また「.」で始めることはできません。");
        return;
    }
    if (files::IoResult saved = saveColorSet(programFolder_, *name, colors_); !saved) {
        ShowFailure("配色を保存できません。\r\n" + saved.reason);
        return;
    }
    ListSets(*name);
}

void TSetupColorPage::CmbSetcolChange()
{
    const std::string name = qt::toUtf8(CmbSetcol->currentText());
    if (CmbSetcol->currentIndex() < 0)
        return;
    ColorSetLoad loaded = loadColorSet(programFolder_, name, colors_);
    if (!loaded.colors) {
        ShowFailure("配色「" + name + "」を読み込めません。\r\n" + loaded.reason);
        return;
    }
    colors_ = *loaded.colors;
    BtnDelcol->setEnabled(true);
    DrawColors();
}

void TSetupColorPage::BtnDelcolClick()
{
    const int index = CmbSetcol->currentIndex();
    if (index < 0)
        return;
    const std::string name = qt::toUtf8(CmbSetcol->currentText());
    if (services_.platform.messageBox("配色の削除", "配色「" + name + "」を削除しますか？", MessageIcon::Question,
                                      MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    if (files::IoResult deleted = deleteColorSet(programFolder_, name); !deleted) {
        ShowFailure("配色を削除できません。\r\n" + deleted.reason);
        return;
    }
    ListSets("");
}

ColorPair& TSetupColorPage::chosenColor()
{
    return colors_[static_cast<std::size_t>(std::max(0, ListColor->currentRow()))];
}

void TSetupColorPage::ListColorClick()
{
    const int item = ListColor->currentRow();
    BtnFontCol->setEnabled(item >= 0 && hasTextButton(item));
    BtnBackCol->setEnabled(item >= 0 && hasBackButton(item));
}

void TSetupColorPage::BtnFontColClick()
{
    if (std::optional<ColorValue> chosen = services_.platform.chooseColor(chosenColor().text)) {
        chosenColor().text = *chosen;
        DrawColors();
    }
}

void TSetupColorPage::BtnBackColClick()
{
    if (std::optional<ColorValue> chosen = services_.platform.chooseColor(chosenColor().back)) {
        chosenColor().back = *chosen;
        DrawColors();
    }
}

void TSetupColorPage::ListFontClick()
{
    ShowFontPanel();
}

void TSetupColorPage::BtnFontClick()
{
    const int item = std::max(0, ListFont->currentRow());
    FontSpec& font = fonts_[static_cast<std::size_t>(item)];
    if (std::optional<FontSpec> chosen = services_.platform.chooseFont(font)) {
        font = *chosen;
        font.color = 0;
        ShowFontPanel();
        DrawSample();
    }
}

void TSetupColorPage::ShowFontPanel()
{
    const FontSpec& font = fonts_[static_cast<std::size_t>(std::max(0, ListFont->currentRow()))];
    PanelFont->setText(qt::fromUtf8(font.name) + " " + QString::number(font.size) + "pt");
    PanelFont->setFont(qt::toQFont(font));
}

void TSetupColorPage::DrawColors()
{
    // The clock's weekday and time lie on the date's background.
    colors_[ColClockWeekday].back = colors_[ColClockDate].back;
    colors_[ColClockTime].back = colors_[ColClockDate].back;
    for (int i = 0; i < ColorItemCount; ++i) {
        const ColorPair& pair = colors_[static_cast<std::size_t>(i)];
        QPixmap swatch(kSwatchWidth, 16);
        swatch.fill(qt::toQColor(pair.back));
        if (hasTextButton(i)) {
            QPainter painter(&swatch);
            painter.setPen(qt::toQColor(pair.text));
            painter.drawText(swatch.rect(), Qt::AlignCenter, QString::fromUtf8("サンプル"));
        }
        ListColor->item(i)->setIcon(QIcon(swatch));
    }
    DrawSample();
}

void TSetupColorPage::SetSampleOptions(bool dateJap, const RokuyoFlags& rikuyo)
{
    dateJap_ = dateJap;
    rikuyo_ = rikuyo;
    DrawSample();
}

void TSetupColorPage::DrawSample()
{
    const QFont dayFont = qt::toQFont(fonts_[FontDay]);
    const QFont schFont = qt::toQFont(fonts_[FontSch]);
    for (int column = 0; column < 7; ++column) {
        auto* header = new QTableWidgetItem(QString::fromUtf8(dateJap_ ? kWeekdaysJa[column] : kWeekdaysEn[column]));
        QFont headerFont = dateJap_ ? schFont : dayFont;
        headerFont.setBold(!dateJap_ || headerFont.bold());
        header->setFont(headerFont);
        header->setTextAlignment(Qt::AlignCenter);
        const int headerItem = column == 5 ? ColSaturday : column == 6 ? ColSunday : ColWeekday;
        header->setForeground(qt::toQColor(colors_[static_cast<std::size_t>(headerItem)].text));
        GridSample->setItem(0, column, header);

        const SampleDay& sample = kSampleDays[column];
        const ColorPair& pair = colors_[static_cast<std::size_t>(sample.item)];
        const bool rokuyoShown = RokuyoShown(rikuyo_, column % 6 + 1);
        QString text = QString::asprintf("%2d", sample.day) + "\n" +
                       (rokuyoShown ? QString::fromUtf8(kRokuyo[column % 6]) : QString("    ")) + "\n" +
                       QString::fromUtf8(sample.kind);
        auto* cell = new QTableWidgetItem(text);
        cell->setFont(schFont);
        cell->setBackground(qt::toQColor(pair.back));
        cell->setForeground(qt::toQColor(pair.text));
        cell->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
        GridSample->setItem(1, column, cell);
    }
    GridSample->setStyleSheet(
        QString("QTableWidget { gridline-color: %1; }").arg(qt::toQColor(colors_[ColSelectedFrame].back).name()));
}

void TSetupColorPage::GridSampleClick(int row, int column)
{
    if (row != 1 || column < 0 || column >= 7)
        return;
    ListColor->setCurrentRow(kSampleDays[column].item);
}

} // namespace kal
