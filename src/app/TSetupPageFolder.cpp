#include "app/TSetupPageFolder.h"

#include "platform/Files.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"
#include "settings/SetupSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kal {

namespace {
const char* const kFolderKinds[4] = {"スケジュールファイル", "メモファイル", "ToDoファイル", "ノートファイル"};
const char* const kFolderCaptions[4] = {"スケジュール(&S)：", "メモ(&M)：", "ToDo(&T)：", "ノート(&N)："};
} // namespace

TSetupFolderPage::TSetupFolderPage(qt::Services& services, std::string programFolder, QWidget* parent)
    : TSetupPage(parent), services_(services), programFolder_(files::withSeparator(programFolder))
{
    auto* layout = pageColumn(this);
    RdoPath = new TSetupRadios("RdoPath", "フォルダの指定方法", {"絶対パス", "相対パス"}, this);
    layout->addWidget(RdoPath);
    auto* grid = new QGridLayout;
    const char* editNames[4] = {"EditDataPath", "EditMemoPath", "EditTodoPath", "EditNotePath"};
    const char* buttonNames[4] = {"BtnSelectData", "BtnSelectMemo", "BtnSelectTodo", "BtnSelectNote"};
    QLineEdit** edits[4] = {&EditDataPath, &EditMemoPath, &EditTodoPath, &EditNotePath};
    QPushButton** buttons[4] = {&BtnSelectData, &BtnSelectMemo, &BtnSelectTodo, &BtnSelectNote};
    for (int i = 0; i < 4; ++i) {
        *edits[i] = qt::named(new QLineEdit(this), editNames[i]);
        *buttons[i] = qt::namedButton(buttonNames[i], "参照...", this);
        QLabel* caption = qt::captionLabel(kFolderCaptions[i], this);
        caption->setBuddy(*edits[i]);
        grid->addWidget(caption, i, 0);
        grid->addWidget(*edits[i], i, 1);
        grid->addWidget(*buttons[i], i, 2);
        connect(*buttons[i], &QPushButton::clicked, this, [this, i] { SelectFolder(i); });
    }
    QVBoxLayout* folders = groupColumn("データフォルダ", this, layout);
    folders->addLayout(grid);
    QVBoxLayout* table = groupColumn("設定ファイルとテーブルファイルのフォルダ", this, layout);
    PanelTable = qt::named(new QLabel(this), "PanelTable");
    PanelTable->setTextInteractionFlags(Qt::TextSelectableByMouse);
    table->addWidget(PanelTable);
    connect(RdoPath, &TSetupRadios::changed, this, &TSetupFolderPage::RdoPathClick);
}

std::array<QLineEdit*, 4> TSetupFolderPage::fields() const
{
    return {EditDataPath, EditMemoPath, EditTodoPath, EditNotePath};
}

bool TSetupFolderPage::relative() const
{
    return RdoPath->index() == 1;
}

void TSetupFolderPage::load(const AppSettings& s)
{
    relative_ = s.relativePath == 1;
    RdoPath->setIndex(relative_ ? 1 : 0);
    const std::string* values[4] = {&s.dataPathValue, &s.memoPathValue, &s.todoPathValue, &s.notePathValue};
    for (int i = 0; i < 4; ++i)
        fields()[static_cast<std::size_t>(i)]->setText(qt::fromSjis(*values[i]));
    ShowTableFolder();
}

void TSetupFolderPage::store(AppSettings& s) const
{
    s.relativePath = checkedFlag(relative());
    std::string* values[4] = {&s.dataPathValue, &s.memoPathValue, &s.todoPathValue, &s.notePathValue};
    for (int i = 0; i < 4; ++i)
        *values[i] = qt::toSjisLossy(fields()[static_cast<std::size_t>(i)]->text());
}

std::vector<std::string> TSetupFolderPage::folderTexts() const
{
    std::vector<std::string> texts;
    for (QLineEdit* field : fields())
        texts.push_back(qt::toUtf8(field->text()));
    return texts;
}

std::string TSetupFolderPage::memoFolder() const
{
    return absoluteFolderText(qt::toUtf8(EditMemoPath->text()), programFolder_);
}

QLineEdit* TSetupFolderPage::unstorableField() const
{
    for (QLineEdit* field : fields())
        if (!qt::toSjis(field->text()))
            return field;
    return nullptr;
}

void TSetupFolderPage::RdoPathClick()
{
    if (relative() == relative_)
        return;
    relative_ = relative();
    for (QLineEdit* field : fields()) {
        const std::string text = qt::toUtf8(field->text());
        field->setText(qt::fromUtf8(relative_ ? relativeFolderText(text, programFolder_)
                                              : absoluteFolderText(text, programFolder_)));
    }
    ShowTableFolder();
}

void TSetupFolderPage::ShowTableFolder()
{
    // The relative form of the program folder is the empty text.
    PanelTable->setText(relative_ ? QString() : qt::fromUtf8(programFolder_));
}

void TSetupFolderPage::SelectFolder(int field)
{
    QLineEdit* edit = fields()[static_cast<std::size_t>(field)];
    const std::string current = absoluteFolderText(qt::toUtf8(edit->text()), programFolder_);
    const std::string start = files::folderExists(current) ? current : programFolder_;
    std::optional<std::string> chosen =
        services_.platform.folderName(std::string(kFolderKinds[field]) + "を保存するフォルダを選んで下さい。", start);
    if (!chosen)
        return;
    edit->setText(qt::fromUtf8(relative_ ? relativeFolderText(*chosen, programFolder_) : *chosen));
}

TSetupOtherPage::TSetupOtherPage(QWidget* parent) : TSetupPage(parent)
{
    auto* layout = pageColumn(this);
    QVBoxLayout* clean = groupColumn("古いデータの削除", this, layout);
    ChkClean = setupCheck("ChkClean", "終了時に古いスケジュールとメモのファイルを削除する。(&C)", this);
    CmbCleanTerm = qt::named(new QComboBox(this), "CmbCleanTerm");
    for (const char* term : {"1ヶ月以前", "2ヶ月以前", "3ヶ月以前", "6ヶ月以前", "1年以前"})
        CmbCleanTerm->addItem(QString::fromUtf8(term));
    clean->addWidget(ChkClean);
    auto* termRow = new QHBoxLayout;
    termRow->addWidget(qt::captionLabel("削除する期間：", this));
    termRow->addWidget(CmbCleanTerm);
    termRow->addStretch();
    clean->addLayout(termRow);
    connect(ChkClean, &QCheckBox::toggled, this, &TSetupOtherPage::updateEnabled);
}

void TSetupOtherPage::load(const AppSettings& s)
{
    ChkClean->setChecked(s.clean == 1);
    CmbCleanTerm->setCurrentIndex(cleanIndexFromTerm(s.cleanTerm));
    updateEnabled();
}

void TSetupOtherPage::store(AppSettings& s) const
{
    s.clean = checkedFlag(ChkClean->isChecked());
    s.cleanTerm = cleanTermFromIndex(CmbCleanTerm->currentIndex());
}

void TSetupOtherPage::updateEnabled()
{
    CmbCleanTerm->setEnabled(ChkClean->isChecked());
}

} // namespace kal
