// Category.tbl together with the filter mode (key Catchk of the settings file). The stored
// flags mean different things under the two modes, so the table and the mode are written
// together: when the mode cannot be saved, the table is put back as it was.
#pragma once

#include "platform/FileOps.h"
#include "schedule/Categories.h"

#include <string>
#include <vector>

namespace kal {

struct CategoryLoad {
    bool ok = true;
    std::string reason; // why an existing table could not be read; it must not be replaced then
    CategoryTable table;
};
CategoryLoad LoadCategoriesForUpdate(const std::string& programFolder);

enum class CategorySaveStep { Done, TableFailed, ModeFailed };

struct CategorySaveResult {
    CategorySaveStep step = CategorySaveStep::Done;
    std::string reason;
    bool restored = true; // after ModeFailed: whether the table was put back
    std::string restoreReason;
    bool ok() const { return step == CategorySaveStep::Done; }
};

CategorySaveResult SaveCategoriesWithMode(const std::string& programFolder, const std::vector<std::string>& table,
                                          int mode, files::FileOps& ops = files::systemFileOps());

// What the user is told when a save failed (UTF-8).
std::string CategorySaveMessage(const CategorySaveResult& result);

// The filter switch of the main window: the table's flags inverted and the new mode saved.
// Without a table nothing is written (the mode is only shown).
struct FilterSwitch {
    bool tableFound = true;
    CategorySaveResult saved;
};
FilterSwitch SwitchCategoryFilter(const std::string& programFolder, int newMode,
                                  files::FileOps& ops = files::systemFileOps());

} // namespace kal
