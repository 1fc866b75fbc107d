#include "store/HolidayFile.h"

namespace kal::store {

std::string HolidayName(std::string_view line)
{
    return text::cutBytes(kHolidayColumns.get(line, HolidayField::Name), kHolidayNameBytes);
}

} // namespace kal::store
