// The category dialog: edits Category.tbl (names, order, colours, check marks) and the filter
// mode `Catchk`. Nothing is written before "登録".
#pragma once

#include "platform/qt/Services.h"

#include <QDialog>
#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;

namespace kal {

class TDlgCatSet : public QDialog {
    Q_OBJECT
public:
    // `programFolder` ends with '/' and holds Category.tbl and Kalendra.ini.
    TDlgCatSet(qt::Services& services, std::string programFolder, QWidget* parent = nullptr);

    QGroupBox* RadioView;
    QRadioButton* RadioViewShow; // "チェック項目を表示する", mode 0
    QRadioButton* RadioViewHide; // "チェック項目を表示しない", mode 1
    QListWidget* ListItem;
    QPushButton* BtnAdd;
    QPushButton* BtnRep;
    QPushButton* BtnDel;
    QPushButton* BtnUp;
    QPushButton* BtnDown;
    QPushButton* BtnFontColor;
    QPushButton* BtnBackColor;
    QCheckBox* ChkNoColor;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

    // 0: checked categories are shown, 1: they are hidden.
    int viewMode() const;
    void setViewMode(int mode);

    void FormShow();
    void BtnAddClick();
    void BtnRepClick();
    void BtnDelClick();
    void BtnUpClick();
    void BtnDownClick();
    void BtnFontColorClick();
    void BtnBackColorClick();
    void ChkNoColorClick();
    void BtnOkClick();

private:
    void buildControls();
    void layOutControls();
    void connectControls();

    std::vector<std::string> lines() const;
    static std::string lineOf(const QListWidgetItem* item);
    static void setLine(QListWidgetItem* item, const std::string& line);
    QListWidgetItem* appendRow(const std::string& line, bool checked);
    QListWidgetItem* selectedItem() const;
    bool selectedShown() const;
    void selectRow(int row);
    void moveSelected(int step);
    void ListItemSelect();

    bool saveFiles(const std::vector<std::string>& table, int mode);

    qt::Services& services_;
    std::string programFolder_;
};

} // namespace kal
