#include "memo/qt/NotePanel.h"

#include "memo/DayMemo.h"
#include "memo/TDlgMemo.h"
#include "platform/ByteText.h"
#include "platform/SjisCodec.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QVBoxLayout>

namespace kal::qt {
namespace {

constexpr int kLineRole = Qt::UserRole + 1;
constexpr int kTextLeft = 2;
const QColor kSelectedBack(0, 0, 128);
const QColor kLinkColor(0, 0, 255);

std::string lineOf(const QModelIndex& index)
{
    return index.data(kLineRole).toByteArray().toStdString();
}

// Link parts blue and underlined, the rest in the note's own font and colour.
class NoteLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QColor text = selected ? QColor(Qt::white) : option.palette.color(QPalette::Text);
        painter->save();
        painter->fillRect(option.rect, selected ? kSelectedBack : option.palette.color(QPalette::Base));
        QRect area = option.rect.adjusted(kTextLeft, 0, 0, 0);
        const std::string line = lineOf(index);
        std::optional<NoteLink> link = NoteLinkOf(line);
        QFont font = option.font;
        if (link && !selected) {
            QFont underlined = font;
            underlined.setUnderline(true);
            const QString part = fromSjis(line.substr(0, link->length));
            painter->setFont(underlined);
            painter->setPen(kLinkColor);
            painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, part);
            area.setLeft(area.left() + QFontMetrics(underlined).horizontalAdvance(part));
            painter->setFont(font);
            painter->setPen(text);
            painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                              fromSjis(NoteLinkRest(line, *link)));
        } else {
            painter->setFont(font);
            painter->setPen(text);
            painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, fromSjis(line));
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(QFontMetrics(option.font).height() + 1);
        return size;
    }
};

} // namespace

NoteList::NoteList(QWidget* parent) : QListWidget(parent)
{
    setObjectName("ListNote");
    setAccessibleName(QString::fromUtf8("ノート"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setItemDelegate(new NoteLineDelegate(this));
}

std::string NoteList::lineAt(int row) const
{
    QListWidgetItem* it = item(row);
    return it ? it->data(kLineRole).toByteArray().toStdString() : std::string();
}

void NoteList::setLines(const std::vector<std::string>& lines)
{
    clear();
    for (const std::string& line : lines) {
        auto* it = new QListWidgetItem(fromSjis(line), this);
        it->setData(kLineRole, QByteArray::fromStdString(line));
    }
}

int NoteList::linkWidth(int row) const
{
    const std::string line = lineAt(row);
    std::optional<NoteLink> link = NoteLinkOf(line);
    if (!link)
        return 0;
    QFont underlined = font();
    underlined.setUnderline(true);
    return kTextLeft + QFontMetrics(underlined).horizontalAdvance(fromSjis(line.substr(0, link->length)));
}

void NoteList::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::RightButton) {
        lastPressX_ = event->position().toPoint().x();
        pressedRow_ = indexAt(event->position().toPoint()).row();
    }
    QListWidget::mousePressEvent(event);
}

void NoteList::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    const int row = indexAt(event->position().toPoint()).row();
    if (event->button() == Qt::LeftButton && row >= 0 && row == pressedRow_)
        emit rowClicked(row);
}

void NoteList::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        return;
    lastPressX_ = event->position().toPoint().x();
    emit doublePressed();
}

void NoteList::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
        emit returnPressed(currentRow());
        return;
    }
    QListWidget::keyPressEvent(event);
}

NotePanel::NotePanel(const PanelContext& context, std::function<int()> editorWidth, QWidget* parent)
    : QWidget(parent), context_(context), services_(context_.services), editorWidth_(std::move(editorWidth))
{
    setObjectName("PanelNote");
    TabNote = new QTabBar(this);
    TabNote->setObjectName("TabNote");
    TabNote->setExpanding(false);
    TabNote->setContextMenuPolicy(Qt::CustomContextMenu);
    ListNote = new NoteList(this);
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    layout_->addWidget(ListNote, 1);
    layout_->addWidget(TabNote);
    titles_ = {UnregisteredNoteTitle()};
    rebuildTabs(0);

    connect(TabNote, &QTabBar::currentChanged, this, [this] { TabNoteEdit(NoteShow::UserChange); });
    connect(ListNote, &NoteList::rowClicked, this, &NotePanel::ListNoteClick);
    connect(ListNote, &NoteList::doublePressed, this, &NotePanel::NoteReplace);
    connect(ListNote, &NoteList::returnPressed, this, [this](int row) {
        if (std::optional<NoteLink> link = NoteLinkOf(ListNote->lineAt(row)))
            openLink(*link);
        else
            NoteReplace();
    });
    createCommands();
    for (QWidget* area : {static_cast<QWidget*>(ListNote), static_cast<QWidget*>(TabNote)})
        connect(area, &QWidget::customContextMenuRequested, this, [this, area](const QPoint& at) {
            QWidget* origin = area == ListNote ? ListNote->viewport() : area;
            PopupNotePopup();
            PopupNote->popup(origin->mapToGlobal(at));
        });
}

void NotePanel::createCommands()
{
    MenuNoteEdit = namedAction(this, "MenuNoteEdit", "ノートの編集(&N)");
    TBtnNote = toolAction(this, "TBtnNote", "ノートの編集", "tb-note");
    MenuNoteTab = namedAction(this, "MenuNoteTab", "ノートの読込(&N)");
    PopNoteAdd = namedAction(this, "PopNoteAdd", "ノートの新規追加(&A)");
    PopNoteEdit = namedAction(this, "PopNoteEdit", "ノートの編集(&R)");
    PopNoteDel = namedAction(this, "PopNoteDel", "ノートの削除(&D)");
    RenNoteTitle = namedAction(this, "RenNoteTitle", "タイトルの変更(&T)");
    PopNoteLineDel = namedAction(this, "PopNoteLineDel", "行の削除(&X)");
    PopNoteClear = namedAction(this, "PopNoteClear", "内容の消去(&C)");
    PopTabUp = namedAction(this, "PopTabUp", "上に移動(&U)");
    PopDown = namedAction(this, "PopDown", "下に移動(&O)");
    PopupNote = popupMenu(this, "PopupNote",
                          {PopNoteAdd, PopNoteEdit, PopNoteDel, RenNoteTitle, nullptr, PopNoteLineDel, PopNoteClear,
                           nullptr, PopTabUp, PopDown});
    // Until the menu is first shown only the editor is offered.
    for (QAction* a : PopupNote->actions())
        a->setEnabled(a == PopNoteEdit);
    for (QAction* a : {MenuNoteEdit, TBtnNote, PopNoteEdit})
        connect(a, &QAction::triggered, this, &NotePanel::NoteReplace);
    connect(MenuNoteTab, &QAction::triggered, this, &NotePanel::MenuNoteTabClick);
    connect(PopNoteAdd, &QAction::triggered, this, &NotePanel::NoteAdd);
    connect(PopNoteDel, &QAction::triggered, this, &NotePanel::NoteDelete);
    connect(RenNoteTitle, &QAction::triggered, this, &NotePanel::RenameTitle);
    connect(PopNoteLineDel, &QAction::triggered, this, &NotePanel::PopNoteLineDelClick);
    connect(PopNoteClear, &QAction::triggered, this, &NotePanel::PopNoteClearClick);
    connect(PopTabUp, &QAction::triggered, this, &NotePanel::PopTabUpClick);
    connect(PopDown, &QAction::triggered, this, &NotePanel::PopTabDownClick);
}

void NotePanel::PopupNotePopup()
{
    for (QAction* a : {PopNoteAdd, PopNoteEdit, PopNoteDel, RenNoteTitle, PopTabUp, PopDown})
        a->setEnabled(true);
    PopNoteLineDel->setEnabled(hasSelectedLine());
    PopNoteClear->setEnabled(currentFileExists());
}

void NotePanel::NoteSet(bool atStart)
{
    const AppSettings& settings = context_.settings;
    NotePanelSettings notes;
    notes.notePath = settings.notePath;
    notes.programFolder = context_.programFolder;
    notes.lastProtected = settings.notePas == 1;
    notes.tabsAtBottom = settings.noteTab == 1;
    notes.font = settings.fonts[FontNote];
    notes.colors = settings.colors[ColNoteList];
    applySettings(notes);
    TabNoteSet();
    TabNoteEdit(atStart ? NoteShow::Startup : NoteShow::Refresh);
}

void NotePanel::applySettings(const NotePanelSettings& settings)
{
    settings_ = settings;
    TabNote->setShape(settings_.tabsAtBottom ? QTabBar::RoundedSouth : QTabBar::RoundedNorth);
    layout_->removeWidget(TabNote);
    layout_->insertWidget(settings_.tabsAtBottom ? 1 : 0, TabNote);
    ListNote->setFont(toQFont(settings_.font));
    QPalette colors = ListNote->palette();
    colors.setColor(QPalette::Base, toQColor(settings_.colors.back));
    colors.setColor(QPalette::Text, toQColor(settings_.colors.text));
    ListNote->setPalette(colors);
}

void NotePanel::TabNoteSet()
{
    NoteListFile file = LoadNoteList(settings_.programFolder);
    listUnreadable_ = file.exists && !file.readable;
    if (listUnreadable_) {
        services_.platform.messageBox("ノート", "Note.lst を読み込めません。\r\n" + file.reason, MessageIcon::Error,
                                      MessageButtons::Ok);
        return;
    }
    if (!file.exists)
        return;
    if (!file.list.skipped.empty())
        services_.platform.messageBox("ノート", SkippedTitlesMessage(file.list.skipped), MessageIcon::Warning,
                                      MessageButtons::Ok);
    titles_ = std::move(file.list.titles);
    refusedLines_ = std::move(file.list.refused);
    unlocked_ = false;
    rebuildTabs(0);
}

void NotePanel::rebuildTabs(int select)
{
    const QSignalBlocker blocker(TabNote);
    while (TabNote->count() > 0)
        TabNote->removeTab(TabNote->count() - 1);
    for (const std::string& title : titles_)
        TabNote->addTab(fromSjis(title));
    if (!titles_.empty())
        TabNote->setCurrentIndex(std::clamp(select, 0, static_cast<int>(titles_.size()) - 1));
}

void NotePanel::saveOrder()
{
    if (listUnreadable_) {
        services_.platform.messageBox("ノート", "Note.lst を読み込めなかったため、タブの並びは保存しません。",
                                      MessageIcon::Error, MessageButtons::Ok);
        return;
    }
    if (files::IoResult saved = SaveNoteList(settings_.programFolder, titles_, refusedLines_); !saved)
        services_.platform.messageBox("ノート", "Note.lst を保存できません。\r\n" + saved.reason, MessageIcon::Error,
                                      MessageButtons::Ok);
}

int NotePanel::currentIndex() const
{
    return titles_.empty() ? -1 : TabNote->currentIndex();
}

std::string NotePanel::currentFile() const
{
    const int index = currentIndex();
    return index < 0 ? std::string() : NoteFilePath(settings_.notePath, titles_[static_cast<std::size_t>(index)]);
}

bool NotePanel::currentProtected() const
{
    return settings_.lastProtected && currentIndex() >= 0 && currentIndex() == static_cast<int>(titles_.size()) - 1;
}

bool NotePanel::passwordGiven()
{
    return !passwordCheck_ || passwordCheck_();
}

bool NotePanel::unlockCurrent()
{
    if (!currentProtected() || unlocked_)
        return true;
    unlocked_ = passwordGiven();
    return unlocked_;
}

void NotePanel::TabNoteEdit(NoteShow reason)
{
    if (reason == NoteShow::UserChange) {
        unlocked_ = false;
        if (!unlockCurrent()) {
            const QSignalBlocker blocker(TabNote);
            TabNote->setCurrentIndex(0);
        }
    } else if (reason == NoteShow::Startup) {
        unlocked_ = false;
        unlockCurrent();
    }
    ListNote->clear();
    if (currentIndex() < 0 || (currentProtected() && !unlocked_))
        return;
    std::vector<files::FileProblem> unreadable;
    ListNote->setLines(files::loadLinesNoting(currentFile(), unreadable));
    context_.showUnreadable("note", unreadable);
}

bool NotePanel::hasSelectedLine() const
{
    return ListNote->currentRow() >= 0 && ListNote->currentItem() && ListNote->currentItem()->isSelected();
}

bool NotePanel::currentFileExists() const
{
    return currentIndex() >= 0 && files::fileExists(currentFile());
}

void NotePanel::showTitleProblem(TitleProblem problem, const std::string& title)
{
    const std::string message = TitleProblemMessage(problem, title);
    if (!message.empty())
        services_.platform.messageBox("エラー", message, MessageIcon::Error, MessageButtons::Ok);
}

std::optional<std::string> NotePanel::askTitle(const char* caption, const char* prompt, const std::string& initial)
{
    std::optional<std::string> answer = services_.platform.inputBox(caption, prompt, sjis::toUtf8(initial));
    if (!answer || answer->empty())
        return std::nullopt;
    std::optional<std::string> title = sjis::fromUtf8(*answer);
    if (!title)
        showTitleProblem(TitleProblem::NotAFileName, sjis::fromUtf8Lossy(*answer));
    return title;
}

void NotePanel::NoteAdd()
{
    if (std::optional<std::string> title = askTitle("ノートの新規作成", "タイトル：", ""))
        NoteNew(*title);
}

bool NotePanel::NoteNew(const std::string& title)
{
    const TitleProblem problem = CheckNewNoteTitle(title, titles_);
    if (problem != TitleProblem::None) {
        showTitleProblem(problem, title);
        return false;
    }
    const int index = NewTabIndex(static_cast<int>(titles_.size()), settings_.lastProtected);
    titles_.insert(titles_.begin() + index, title);
    rebuildTabs(index);
    // A note just made is shown without a question, even when it is the only, protected one.
    unlocked_ = true;
    TabNoteEdit(NoteShow::Command);
    saveOrder();
    return true;
}

void NotePanel::MenuNoteTabClick()
{
    std::optional<std::string> chosen =
        services_.platform.openFileName("ノートの読込", settings_.notePath, "Noteﾌｧｲﾙ (*.not)");
    if (!chosen || !files::fileExists(*chosen))
        return;
    std::optional<std::string> title = NoteTitleOfFile(*chosen);
    if (!title) {
        showTitleProblem(TitleProblem::NotAFileName, sjis::fromUtf8Lossy(*chosen));
        return;
    }
    NoteNew(*title);
}

void NotePanel::NoteReplace()
{
    const EditorPlace place{context_.dialogPlace(), editorWidth_()};
    if (currentIndex() < 0) {
        NoteAdd();
        return;
    }
    if (!unlockCurrent())
        return;
    MemoEditorTarget target{
        MemoEditorMode::Note, settings_.notePath, {}, titles_[static_cast<std::size_t>(currentIndex())]};
    TDlgMemo dialog(services_, target, window());
    dialog.MemoDay->setFont(toQFont(settings_.font));
    dialog.move(place.topLeft);
    dialog.resize(place.width, dialog.height());
    if (services_.dialogs.run(dialog) == QDialog::Accepted)
        TabNoteEdit(NoteShow::Command);
}

void NotePanel::NoteDelete()
{
    const char* caption = "ノートの削除";
    const int index = currentIndex();
    const int count = static_cast<int>(titles_.size());
    switch (CheckNoteRemoval(index, count, settings_.lastProtected)) {
    case NoteRemoval::LastTab:
        services_.platform.messageBox(caption, "ノートは最低１つのタブが必要です。", MessageIcon::Error,
                                      MessageButtons::Ok);
        return;
    case NoteRemoval::ProtectedPair:
        services_.platform.messageBox(caption, "「" + sjis::toUtf8(titles_[1]) + "」はパスワードで保護されています。",
                                      MessageIcon::Error, MessageButtons::Ok);
        return;
    case NoteRemoval::NeedsPassword:
        if (!unlockCurrent())
            return;
        break;
    case NoteRemoval::Allowed:
        break;
    }
    const std::string title = titles_[static_cast<std::size_t>(index)];
    if (services_.platform.messageBox(caption, "「" + sjis::toUtf8(title) + "」を削除します。\r\nよろしいですか？",
                                      MessageIcon::Warning, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    if (files::IoResult deleted = DeleteMemoFile(currentFile()); !deleted) {
        services_.platform.messageBox(caption, "ノートを削除できません。\r\n" + deleted.reason, MessageIcon::Error,
                                      MessageButtons::Ok);
        return;
    }
    titles_.erase(titles_.begin() + index);
    saveOrder();
    rebuildTabs(0);
    unlocked_ = false;
    TabNoteEdit(NoteShow::Command);
}

void NotePanel::RenameTitle()
{
    const int index = currentIndex();
    if (index < 0 || !unlockCurrent())
        return;
    const std::string old = titles_[static_cast<std::size_t>(index)];
    std::optional<std::string> title = askTitle("タイトルの変更", "新しいタイトル：", old);
    if (!title || *title == old)
        return;
    if (TitleProblem problem = CheckNewNoteTitle(*title, titles_); problem != TitleProblem::None) {
        showTitleProblem(problem, *title);
        return;
    }
    std::vector<std::string> renamedTitles = titles_;
    renamedTitles[static_cast<std::size_t>(index)] = *title;
    std::optional<NoteOrder> order;
    if (!listUnreadable_)
        order = NoteOrder{settings_.programFolder, renamedTitles, refusedLines_};
    NoteRenameResult renamed = RenameNoteFile(settings_.notePath, old, *title, order);
    if (renamed.status == NoteRename::Exists) {
        showTitleProblem(TitleProblem::Duplicate, *title);
        return;
    }
    if (!renamed.reason.empty())
        services_.platform.messageBox("タイトルの変更", renamed.reason, MessageIcon::Error, MessageButtons::Ok);
    if (renamed.status == NoteRename::Failed)
        return;
    titles_ = std::move(renamedTitles);
    {
        const QSignalBlocker blocker(TabNote);
        TabNote->setTabText(index, fromSjis(*title));
    }
    TabNoteEdit(NoteShow::Command);
    if (listUnreadable_)
        saveOrder(); // says why the order is not saved
}

void NotePanel::PopNoteLineDelClick()
{
    if (!hasSelectedLine() || !currentFileExists() || !unlockCurrent())
        return;
    const int row = ListNote->currentRow();
    MemoLineResult result = DeleteMemoLine(currentFile(), row, ListNote->lineAt(row));
    ReportMemoLineResult(services_.platform, "行の削除", "ノート", result);
    TabNoteEdit(NoteShow::Command);
}

void NotePanel::PopNoteClearClick()
{
    const int index = currentIndex();
    if (index < 0 || !unlockCurrent())
        return;
    const char* caption = "内容の消去";
    const std::string title = sjis::toUtf8(titles_[static_cast<std::size_t>(index)]);
    if (services_.platform.messageBox(caption, "「" + title + "」の内容をすべて消去します。\r\nよろしいですか？",
                                      MessageIcon::Warning, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    if (files::IoResult deleted = DeleteMemoFile(currentFile()); !deleted)
        services_.platform.messageBox(caption, "ノートを消去できません。\r\n" + deleted.reason, MessageIcon::Error,
                                      MessageButtons::Ok);
    saveOrder();
    TabNoteEdit(NoteShow::Command);
}

void NotePanel::PopTabUpClick()
{
    moveTab(-1);
}

void NotePanel::PopTabDownClick()
{
    moveTab(+1);
}

void NotePanel::moveTab(int step)
{
    const int index = currentIndex();
    const int count = static_cast<int>(titles_.size());
    switch (CheckTabMove(index, step, count, settings_.lastProtected)) {
    case TabMove::Impossible:
        return;
    case TabMove::NeedsPassword:
        // Whoever moves a note into or out of the last place decides which note is protected.
        if (!(currentProtected() && unlocked_) && !passwordGiven()) {
            services_.platform.messageBox("ノートの移動",
                                          "「" + sjis::toUtf8(titles_.back()) +
                                              "」はパスワードで保護されていため移動はできません。",
                                          MessageIcon::Error, MessageButtons::Ok);
            return;
        }
        unlocked_ = index + step == count - 1;
        break;
    case TabMove::Allowed:
        break;
    }
    std::swap(titles_[static_cast<std::size_t>(index)], titles_[static_cast<std::size_t>(index + step)]);
    saveOrder();
    rebuildTabs(index + step);
    TabNoteEdit(NoteShow::Command);
}

void NotePanel::ListNoteClick(int row)
{
    std::optional<NoteLink> link = NoteLinkOf(ListNote->lineAt(row));
    if (!link || ListNote->lastPressX() >= ListNote->linkWidth(row))
        return;
    openLink(*link);
}

void NotePanel::openLink(const NoteLink& link)
{
    const char* caption = "リンクを開く";
    const std::string target = sjis::toUtf8(link.target);
    if (!OpensWithoutAsking(link.kind) &&
        services_.platform.messageBox(
            caption,
            "次のリンクを開きます。\r\n" + target +
                "\r\nファイルを開くとプログラムが起動することがあります。\r\nよろしいですか？",
            MessageIcon::Warning, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    if (!services_.platform.shellOpen(target))
        services_.platform.messageBox(caption, "リンクを開けません。\r\n" + target, MessageIcon::Error,
                                      MessageButtons::Ok);
}

} // namespace kal::qt
