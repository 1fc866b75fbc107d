// Date-time patterns (the clock style, the memo title): any pattern with any date formats
// without fault, and the same input always gives the same text.
#include "FuzzSupport.h"
#include "platform/DateFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    std::string pattern = fuzz::bytesOf(data, size);
    DateTime when;
    when.date.year = 1800 + fuzz::takeNumber(pattern, 250) + fuzz::takeNumber(pattern, 100);
    when.date.month = 1 + fuzz::takeNumber(pattern, 12);
    when.date.day = 1 + fuzz::takeNumber(pattern, 28);
    when.hour = fuzz::takeNumber(pattern, 24);
    when.minute = fuzz::takeNumber(pattern, 60);
    when.second = fuzz::takeNumber(pattern, 60);
    const std::string once = text::formatDateTime(pattern, when);
    FUZZ_CHECK(text::formatDateTime(pattern, when) == once);
    text::formatDate(pattern, when.date);
    text::formatDateUtf8(pattern, when.date);
    text::formatDateTimeUtf8(pattern, when);
    return 0;
}
