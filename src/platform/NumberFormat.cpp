#include "platform/NumberFormat.h"

namespace kal::text {

std::string formatInt(long long value, int width, char pad)
{
    bool negative = value < 0;
    unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    std::string digits = std::to_string(magnitude);
    std::string out;
    int length = static_cast<int>(digits.size()) + (negative ? 1 : 0);
    if (pad == '0') {
        if (negative)
            out += '-';
        if (length < width)
            out.append(static_cast<std::size_t>(width - length), '0');
        out += digits;
    } else {
        if (length < width)
            out.append(static_cast<std::size_t>(width - length), pad);
        if (negative)
            out += '-';
        out += digits;
    }
    return out;
}

std::string formatThousands(long long value)
{
    bool negative = value < 0;
    unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    std::string digits = std::to_string(magnitude);
    std::string out;
    int count = 0;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (count > 0 && count % 3 == 0)
            out.insert(out.begin(), ',');
        out.insert(out.begin(), *it);
        ++count;
    }
    return negative ? "-" + out : out;
}

} // namespace kal::text
