#include "app/Startup.h"

namespace kal {

bool newYearGreetingDue(int storedYear, const Date& today)
{
    return storedYear < today.year && today.month == 1 && today.day <= 7;
}

} // namespace kal
