#include "calendar/CalendarMath.h"

namespace kal {
namespace {

// One string per month from January 1900; digit d is the rokuyo code of day d.
const char* const kRokuyoTable[] = {
#include "calendar/RokuyoTable.inc"
};

constexpr int kTableMonths = static_cast<int>(sizeof kRokuyoTable / sizeof kRokuyoTable[0]);
static_assert(kTableMonths == (kLastYear - kFirstYear + 1) * 12);

} // namespace

int RokuyoOf(int year, int month, int day)
{
    if (year < kFirstYear || year > kLastYear || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return 0;
    const char* digits = kRokuyoTable[(year - kFirstYear) * 12 + (month - 1)];
    return digits[day - 1] - '0';
}

} // namespace kal
