#include "exchange/qt/ImportOptionBoxes.h"

#include "platform/qt/Widgets.h"

#include <QCheckBox>

namespace kal::qt {
namespace {

QCheckBox* checkedBox(const char* name, const char* caption, QWidget* parent)
{
    auto* box = named(new QCheckBox(QString::fromUtf8(caption), parent), name);
    box->setChecked(true);
    return box;
}

} // namespace

QCheckBox* duplicateCheckBox(QWidget* parent)
{
    return checkedBox("ChkDubleNo", "日付・開始時刻・内容が同じものは反映しない。(&D)", parent);
}

QCheckBox* newCategoryBox(QWidget* parent)
{
    return checkedBox("ChkCategory", "未登録の分類を追加する。(&C)", parent);
}

} // namespace kal::qt
