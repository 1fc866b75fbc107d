#include "schedule/Categories.h"

#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/NumberFormat.h"

namespace kal {
namespace {

using store::CategoryField;
constexpr const auto& kColumns = store::kCategoryColumns;

bool hiddenFlag(const std::string& line)
{
    return kColumns.view(line, CategoryField::Shown) == "0";
}

} // namespace

CategoryColor ParseCategoryColor(const std::string& field)
{
    if (text::isBlank(field))
        return {};
    CategoryColor color;
    color.set = true;
    if (field.size() == 8) {
        int value = 0;
        bool digits = true;
        for (char c : field) {
            if (c < '0' || c > '9') {
                digits = false;
                break;
            }
            value = value * 10 + (c - '0');
        }
        if (digits && value <= 0xFFFFFF)
            color.value = value;
    }
    return color;
}

CategoryTable CategoryTable::Load(const std::string& path)
{
    return CategoryTable(files::loadLines(path));
}

std::string CategoryTable::NameOf(const std::string& line)
{
    return kColumns.get(line, CategoryField::Name);
}

bool CategoryTable::ShownOf(const std::string& line)
{
    return !hiddenFlag(line);
}

CategoryColor CategoryTable::TextColorOf(const std::string& line)
{
    return ParseCategoryColor(kColumns.get(line, CategoryField::TextColor));
}

CategoryColor CategoryTable::BackColorOf(const std::string& line)
{
    return ParseCategoryColor(kColumns.get(line, CategoryField::BackColor));
}

int CategoryTable::FindNoCase(const std::string& recCategory) const
{
    const std::string wanted = kColumns.fit(CategoryField::Name, recCategory);
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (text::equalsNoCase(kColumns.fit(CategoryField::Name, NameOf(lines_[i])), wanted))
            return static_cast<int>(i);
    return -1;
}

int CategoryTable::FindExact(const std::string& recCategory) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (NameOf(lines_[i]) == recCategory)
            return static_cast<int>(i);
    return -1;
}

CategoryDrawing DrawingFor(const CategoryTable& table, const std::string& recCategory)
{
    CategoryDrawing drawing;
    int index = table.FindNoCase(recCategory);
    if (index < 0)
        return drawing;
    const std::string& line = table.lines()[static_cast<std::size_t>(index)];
    if (hiddenFlag(line)) {
        drawing.hidden = true;
        return drawing;
    }
    drawing.text = CategoryTable::TextColorOf(line).value;
    drawing.back = CategoryTable::BackColorOf(line).value;
    return drawing;
}

CategorySample SampleOf(const std::string& line)
{
    CategorySample sample;
    if (auto back = CategoryTable::BackColorOf(line).value)
        sample.back = *back;
    if (auto textColor = CategoryTable::TextColorOf(line).value)
        sample.text = *textColor;
    return sample;
}

std::string CategoryColorField(std::optional<ColorValue> color)
{
    const std::size_t width = kColumns.width(CategoryField::TextColor);
    return color ? text::formatInt(*color, static_cast<int>(width), '0') : std::string(width, ' ');
}

std::string ComposeCategoryLine(const std::string& name, bool shown, const std::string& textField,
                                const std::string& backField)
{
    return kColumns.join({kColumns.fit(CategoryField::Name, name), shown ? "1" : "0", " ", textField, backField, ""});
}

std::vector<std::string> InvertShownFlags(const std::vector<std::string>& lines)
{
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const std::string& line : lines) {
        // A missing or odd flag counts as shown, so it inverts to "0" like "1" does; the check
        // marks then stay as they were. Blank lines stay blank, and nothing after the flag is
        // touched.
        const char flag = CategoryTable::ShownOf(line) ? '0' : '1';
        if (text::isBlank(line)) {
            out.push_back(line);
        } else if (line.size() < kColumns.position(CategoryField::Shown)) {
            out.push_back(kColumns.fit(CategoryField::Name, line) + flag + " ");
        } else {
            std::string inverted = line;
            inverted[kColumns.position(CategoryField::Shown) - 1] = flag;
            out.push_back(std::move(inverted));
        }
    }
    return out;
}

bool CheckedUnderMode(const std::string& line, int mode)
{
    return mode == 0 ? !hiddenFlag(line) : hiddenFlag(line);
}

bool ShownForCheck(bool checked, int mode)
{
    return mode == 0 ? checked : !checked;
}

std::string SameStoredName(const std::string& name)
{
    return text::trimRight(text::cutBytes(name, kColumns.width(CategoryField::Name)));
}

std::string NewCategoryLine(const std::string& name)
{
    return kColumns.fit(CategoryField::Name, name);
}

std::string RenamedCategoryLine(const std::string& line, const std::string& name)
{
    return kColumns.fit(CategoryField::Name, name) + text::fieldToEnd(line, kColumns.position(CategoryField::Shown));
}

std::string WithTextColor(const std::string& line, bool shown, ColorValue color)
{
    return ComposeCategoryLine(CategoryTable::NameOf(line), shown, CategoryColorField(color),
                               kColumns.get(line, CategoryField::BackColor));
}

std::string WithBackColor(const std::string& line, bool shown, ColorValue color)
{
    return ComposeCategoryLine(CategoryTable::NameOf(line), shown, CategoryColorField(TextColorOrBlack(line)),
                               CategoryColorField(color));
}

std::string WithoutColors(const std::string& line, bool shown)
{
    return ComposeCategoryLine(CategoryTable::NameOf(line), shown, CategoryColorField(std::nullopt),
                               CategoryColorField(std::nullopt));
}

std::string ConfirmedCategoryLine(const std::string& line, bool shown)
{
    return ComposeCategoryLine(CategoryTable::NameOf(line), shown, kColumns.get(line, CategoryField::TextColor),
                               kColumns.get(line, CategoryField::BackColor));
}

bool CategoryNameTaken(const std::vector<std::string>& lines, const std::string& name)
{
    // Names are compared as they would be stored: two names that agree in their first 14 bytes
    // would be the same category.
    const std::string wanted = SameStoredName(name);
    for (const std::string& line : lines)
        if (text::trimRight(CategoryTable::NameOf(line)) == wanted)
            return true;
    return false;
}

ColorValue TextColorOrBlack(const std::string& line)
{
    return CategoryTable::TextColorOf(line).value.value_or(0);
}

ColorValue BackColorOrBlack(const std::string& line)
{
    return CategoryTable::BackColorOf(line).value.value_or(0);
}

} // namespace kal
