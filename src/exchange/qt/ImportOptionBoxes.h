// The two options every import dialog offers, checked at first: the duplicate check and the
// addition of new categories.
#pragma once

class QCheckBox;
class QWidget;

namespace kal::qt {

QCheckBox* duplicateCheckBox(QWidget* parent); // ChkDubleNo
QCheckBox* newCategoryBox(QWidget* parent);    // ChkCategory

} // namespace kal::qt
