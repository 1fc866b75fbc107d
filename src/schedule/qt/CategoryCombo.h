// The category box of the input dialogs: owner-drawn rows with their colour samples, the
// closed box showing the chosen category's sample, no category chosen after filling.
#pragma once

class QComboBox;

namespace kal {
class CategoryTable;
}

namespace kal::qt {

void SetupCategoryCombo(QComboBox* combo);
void FillCategoryRows(QComboBox* combo, const CategoryTable& categories);

} // namespace kal::qt
