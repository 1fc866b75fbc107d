// The category table Category.tbl: one line per category in the user's order, a 14-byte
// name, a shown flag, a blank, and optional text and background colours of eight digits.
#pragma once

#include "platform/Platform.h"
#include "store/CategoryFile.h"

#include <optional>
#include <string>
#include <vector>

namespace kal {

inline constexpr const char* kCategoryFileName = store::kCategoryFileName;

// A colour field: unset (eight blanks or missing), unreadable, or a colour.
struct CategoryColor {
    bool set = false;
    std::optional<ColorValue> value; // empty when set but unreadable
};

CategoryColor ParseCategoryColor(const std::string& eightBytes);

class CategoryTable {
public:
    CategoryTable() = default;
    explicit CategoryTable(std::vector<std::string> lines) : lines_(std::move(lines)) { }
    static CategoryTable Load(const std::string& path);

    const std::vector<std::string>& lines() const { return lines_; }
    std::size_t size() const { return lines_.size(); }

    static std::string NameOf(const std::string& line); // the first 14 bytes
    static bool ShownOf(const std::string& line);       // any flag but "0" counts as shown
    static CategoryColor TextColorOf(const std::string& line);
    static CategoryColor BackColorOf(const std::string& line);

    // The first entry whose 14-byte name equals `recCategory`, case-insensitively; -1 if none.
    int FindNoCase(const std::string& recCategory) const;
    // The same with an exact comparison (the input dialog's pre-selection).
    int FindExact(const std::string& recCategory) const;

private:
    std::vector<std::string> lines_;
};

// How one schedule is drawn in the calendar.
struct CategoryDrawing {
    bool hidden = false;
    std::optional<ColorValue> text;
    std::optional<ColorValue> back;
};
CategoryDrawing DrawingFor(const CategoryTable& table, const std::string& recCategory);

// The sample of a category row: its background (white when unset) and text colour (black when
// unset).
struct CategorySample {
    ColorValue back = 0xFFFFFF;
    ColorValue text = 0;
};
CategorySample SampleOf(const std::string& line);

// A line rebuilt as name + flag + " " + text colour field + background colour field.
std::string ComposeCategoryLine(const std::string& name, bool shown, const std::string& textField,
                                const std::string& backField);
std::string CategoryColorField(std::optional<ColorValue> color); // eight digits or eight blanks

// The filter-mode switch: every flag inverted (shown becomes "0", "0" becomes "1"), the
// colours kept as stored.
std::vector<std::string> InvertShownFlags(const std::vector<std::string>& lines);

// The check mark a row shows under a filter mode (0 = checked ones shown, 1 = checked ones
// hidden), and the flag a check mark stands for.
bool CheckedUnderMode(const std::string& line, int mode);
bool ShownForCheck(bool checked, int mode);

// Editing steps of the category dialog. `shown` is the flag the row's check mark stands for
// under the dialog's mode; names are Shift-JIS and cut to 14 bytes.
std::string NewCategoryLine(const std::string& name);
// The new name followed by the old line from the flag on (flag and colours kept).
std::string RenamedCategoryLine(const std::string& line, const std::string& name);
// The chosen text colour, the background field kept as stored.
std::string WithTextColor(const std::string& line, bool shown, ColorValue color);
// The chosen background; the text colour rewritten as eight digits (unset or unreadable: 0).
std::string WithBackColor(const std::string& line, bool shown, ColorValue color);
std::string WithoutColors(const std::string& line, bool shown);
// The line as the dialog's OK stores it: name + flag + " " + both colour fields as stored.
std::string ConfirmedCategoryLine(const std::string& line, bool shown);

// Whether `name` equals a row's name, trailing blanks ignored on both sides, compared exactly.
// A name as the table stores it (cut to 14 bytes), without trailing blanks.
std::string SameStoredName(const std::string& name);
bool CategoryNameTaken(const std::vector<std::string>& lines, const std::string& name);

// Where the colour dialog starts: the stored colour, black when unset or unreadable.
ColorValue TextColorOrBlack(const std::string& line);
ColorValue BackColorOrBlack(const std::string& line);

} // namespace kal
