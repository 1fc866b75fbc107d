// CSV lines: the normaliser, splitter and time reader take any bytes; a line without quotes
// splits at every comma and nowhere else, and fields written by the export come back as they
// were written.
#include "FuzzSupport.h"
#include "exchange/CsvText.h"
#include "platform/CommaText.h"
#include "schedule/PickList.h"

#include <algorithm>

namespace {

std::vector<std::string> splitAtCommas(const std::string& line)
{
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == ',')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    const std::string bytes = fuzz::bytesOf(data, size);
    const std::string normal = normalizeCsvLine(bytes);
    FUZZ_CHECK(!normal.empty() && normal.front() == '"');
    const std::vector<std::string> columns = splitCsvLine(bytes);
    FUZZ_CHECK(!columns.empty());
    FUZZ_CHECK(csvColumn(columns, static_cast<int>(columns.size())).empty());
    csvEncodingIssue(bytes, true);
    if (std::optional<Date> date = parseCsvDate(bytes))
        FUZZ_CHECK(isValidDate(date->year, date->month, date->day));
    // A time is stored zero-padded or not at all.
    if (std::optional<std::string> time = parseCsvTime(bytes))
        FUZZ_CHECK(time->empty() || IsTimeOfDay(*time));
    // A doubled quote is two quotes that keep the state, so a line ends inside quotes exactly
    // when it holds an odd number of them.
    FUZZ_CHECK(csvLineEndsInsideQuotes(bytes) == (std::count(bytes.begin(), bytes.end(), '"') % 2 == 1));

    // Without quotes and line ends a line is its comma-separated fields, blanks included.
    const bool plain = std::none_of(bytes.begin(), bytes.end(), [](char c) { return c == '"' || c == '\0'; });
    if (plain)
        FUZZ_CHECK(columns == splitAtCommas(bytes));

    // Fields as the export joins them (no line ends inside) split back to themselves.
    std::vector<std::string> fields = splitAtCommas(bytes);
    for (std::string& field : fields)
        field.erase(std::remove_if(field.begin(), field.end(), [](char c) { return c == '\0'; }), field.end());
    FUZZ_CHECK(splitCsvLine(text::joinCommaText(fields)) == fields);
    return 0;
}
