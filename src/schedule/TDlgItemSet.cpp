#include "schedule/TDlgItemSet.h"

#include "platform/ByteText.h"
#include "platform/qt/QtText.h"
#include "platform/qt/SjisValidator.h"
#include "platform/qt/Widgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kal {
TDlgItemSet::TDlgItemSet(qt::Services& services, std::string programFolder, PickListType type, QWidget* parent)
    : QDialog(parent), services_(services), programFolder_(std::move(programFolder)), type_(type)
{
    setObjectName("TDlgItemSet");

    LabelItem = new QLabel(this);
    LabelItem->setObjectName("LabelItem");
    EditItem = new QLineEdit(this);
    EditItem->setObjectName("EditItem");
    LabelItem->setBuddy(EditItem);
    ListItem = new QListWidget(this);
    ListItem->setObjectName("ListItem");
    ListItem->setMinimumSize(260, 200);
    BtnAdd = qt::namedButton("BtnAdd", "追加", this);
    BtnDel = qt::namedButton("BtnDel", "削除", this);
    BtnOk = qt::namedButton("BtnOk", "OK", this);
    BtnCancel = qt::namedButton("BtnCancel", "キャンセル", this);

    auto* input = new QHBoxLayout;
    input->addWidget(EditItem, 1);
    input->addWidget(BtnAdd);
    auto* side = new QVBoxLayout;
    side->addWidget(BtnDel);
    side->addStretch();
    side->addWidget(BtnOk);
    side->addWidget(BtnCancel);
    auto* layout = new QGridLayout(this);
    layout->addWidget(LabelItem, 0, 0, 1, 2);
    layout->addLayout(input, 1, 0);
    layout->addWidget(ListItem, 2, 0);
    layout->addLayout(side, 1, 1, 2, 1);

    connect(BtnAdd, &QPushButton::clicked, this, &TDlgItemSet::BtnAddClick);
    connect(EditItem, &QLineEdit::returnPressed, this, &TDlgItemSet::BtnAddClick);
    connect(BtnDel, &QPushButton::clicked, this, &TDlgItemSet::BtnDelClick);
    connect(BtnOk, &QPushButton::clicked, this, &TDlgItemSet::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    FormShow();
}

void TDlgItemSet::FormShow()
{
    setWindowTitle(QString::fromUtf8(PickListCaption(type_)));
    LabelItem->setText(QString::fromUtf8(PickListPrompt(type_)));
    // Byte limits: a time of five bytes is five characters, and nothing typed is cut on saving.
    qt::limitSjisBytes(EditItem, PickListEntryLimit(type_));
    if (IsTimeList(type_))
        EditItem->setInputMethodHints(Qt::ImhPreferNumbers | Qt::ImhPreferLatin);
    list_ = PickList::Load(PickListPath(programFolder_, type_));
    if (!list_.readable()) {
        services_.platform.messageBox(PickListCaption(type_),
                                      std::string(PickListFileName(type_)) + " を読み込めません。\r\n" +
                                          list_.unreadableReason(),
                                      MessageIcon::Error, MessageButtons::Ok);
        BtnOk->setEnabled(false);
    }
    fillList(0);
}

void TDlgItemSet::fillList(int selectRow)
{
    ListItem->clear();
    for (const std::string& entry : list_.entries())
        ListItem->addItem(qt::fromSjis(PickListRowText(entry)));
    if (ListItem->count() > 0)
        ListItem->setCurrentRow(std::clamp(selectRow, 0, ListItem->count() - 1));
}

void TDlgItemSet::BtnAddClick()
{
    int row = list_.add(qt::toSjisLossy(EditItem->text()));
    if (row < 0)
        return;
    fillList(row);
    EditItem->clear();
    EditItem->setFocus();
}

void TDlgItemSet::BtnDelClick()
{
    int row = ListItem->currentRow();
    if (row < 0 || ListItem->selectedItems().isEmpty())
        return;
    list_.remove(static_cast<std::size_t>(row));
    fillList(row);
}

void TDlgItemSet::BtnOkClick()
{
    const std::string path = PickListPath(programFolder_, type_);
    if (files::IoResult saved = list_.save(path); !saved) {
        services_.platform.messageBox(PickListCaption(type_),
                                      std::string(PickListFileName(type_)) + " を保存できません。\r\n" + saved.reason,
                                      MessageIcon::Error, MessageButtons::Ok);
        return;
    }
    accept();
}

} // namespace kal
