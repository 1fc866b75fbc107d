// The editor of one pick list ("項目の設定"): entries are added sorted and without duplicates,
// removed without asking, and the file is written on OK.
#pragma once

#include "platform/qt/Services.h"
#include "schedule/PickList.h"

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kal {

class TDlgItemSet : public QDialog {
    Q_OBJECT
public:
    // `programFolder` holds the pick list files and ends with '/'. The list is loaded here.
    TDlgItemSet(qt::Services& services, std::string programFolder, PickListType type, QWidget* parent = nullptr);

    QLabel* LabelItem;
    QLineEdit* EditItem;
    QListWidget* ListItem;
    QPushButton* BtnAdd;
    QPushButton* BtnDel;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

    void FormShow();
    void BtnAddClick();
    void BtnDelClick();
    void BtnOkClick();

    const PickList& list() const { return list_; }

private:
    void fillList(int selectRow);

    qt::Services& services_;
    std::string programFolder_;
    PickListType type_;
    PickList list_;
};

} // namespace kal
