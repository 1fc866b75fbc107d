// The ToDo input dialog: enters a new entry, corrects one, or makes one from a schedule, with
// its memo. It writes ToDo.dat and ToDoMemo.dat itself before it closes with OK; the opener
// then refills the lists.
#pragma once

#include "platform/Date.h"
#include "platform/qt/Services.h"
#include "schedule/Categories.h"
#include "store/Edit.h"
#include "todo/TodoStore.h"

#include <QDialog>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;

namespace kal {

struct TodoInputRequest {
    TodoInputMode mode = TodoInputMode::New;
    std::string todoFolder;    // ToDo.dat and ToDoMemo.dat
    std::string programFolder; // Category.tbl
    Date date;                 // the calendar's date: deadline and done date to start with
    store::LineRef edited;     // Edit: the entry
    bool done = false;         // Edit: the row's check box; New: ticked on the done tab
    std::string title;         // CopyFromSchedule: the schedule's title (Shift-JIS)
    int categoryIndex = -1;    // CopyFromSchedule: the category row or -1
    bool autoIme = true;       // the AutoIme setting
    // Follows a corrected entry (RecordFollower.h); every caller names it.
    store::Follower follower;
};

class TDlgTodoInput : public QDialog {
    Q_OBJECT
public:
    TDlgTodoInput(qt::Services& services, TodoInputRequest request, QWidget* parent = nullptr);

    QDateEdit* DtpTodoLimit;
    QCheckBox* ChkNonLimit;
    QLineEdit* EditTitle;
    QPlainTextEdit* MemoTodo;
    QGroupBox* RadioPri;
    QButtonGroup* RadioPriButtons; // ids 0 to 3: Ａ to Ｄ
    QComboBox* CmbBunrui;
    QPushButton* BtnCat;
    QSlider* TrackProgress;
    QLabel* LabelProgress;
    QCheckBox* ChkTask;
    QDateEdit* DtpTodoOk;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

    void FormShow();
    void BtnOkClick();
    void ChkNonLimitClick();
    void ChkTaskClick();
    void TrackProgressChange();
    void BtnCatClick();

    // The corrected entry had changed meanwhile: nothing was written and the dialog closed.
    bool changedMeanwhile() const { return changedMeanwhile_; }

private:
    void buildControls();
    void buildLayout();
    void connectHandlers();
    void fillCategoryRows();
    void showEntry();
    void applyMemoAvailability();
    TodoFields fieldsFromControls() const;
    std::vector<std::string> memoLines() const;
    void showStoreResult(const TodoEntryResult& stored);

    qt::Services& services_;
    TodoInputRequest request_;
    CategoryTable categories_;
    std::vector<std::string> loadedMemo_;
    bool changedMeanwhile_ = false;
};

} // namespace kal
