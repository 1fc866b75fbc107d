// Category table lines: every reader copes with any bytes; a colour that reads back composes to a
// field that reads back the same; inverting the flags twice restores what the flags mean.
#include "FuzzSupport.h"
#include "schedule/Categories.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    const std::vector<std::string> lines = fuzz::linesOf(data, size);
    const CategoryTable table(lines);
    for (const std::string& line : lines) {
        for (const CategoryColor& color : {CategoryTable::TextColorOf(line), CategoryTable::BackColorOf(line)}) {
            if (color.value) {
                const CategoryColor again = ParseCategoryColor(CategoryColorField(color.value));
                FUZZ_CHECK(again.set && again.value == color.value);
            }
        }
        FUZZ_CHECK(table.FindExact(CategoryTable::NameOf(line)) >= 0);
        FUZZ_CHECK(table.FindNoCase(CategoryTable::NameOf(line)) >= 0);
        DrawingFor(table, CategoryTable::NameOf(line));
        SampleOf(line);
        for (int mode : {0, 1}) {
            const bool checked = CheckedUnderMode(line, mode);
            const std::string confirmed = ConfirmedCategoryLine(line, ShownForCheck(checked, mode));
            FUZZ_CHECK(CheckedUnderMode(confirmed, mode) == checked || line.size() < 15);
        }
    }
    const std::vector<std::string> twice = InvertShownFlags(InvertShownFlags(lines));
    FUZZ_CHECK(twice.size() == lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        FUZZ_CHECK(CategoryTable::ShownOf(twice[i]) == CategoryTable::ShownOf(lines[i]) || lines[i].size() < 15);
        FUZZ_CHECK(CategoryTable::NameOf(twice[i]) == CategoryTable::NameOf(lines[i]) || lines[i].size() < 15);
    }
    return 0;
}
