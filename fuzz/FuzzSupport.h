// What every fuzz target shares: the input as text or lines, and a check that stops the run
// with a message when a property does not hold.
#pragma once

#include "platform/Files.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);                      \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

namespace kal::fuzz {

inline std::string bytesOf(const std::uint8_t* data, std::size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

inline std::vector<std::string> linesOf(const std::uint8_t* data, std::size_t size)
{
    return files::splitLines(bytesOf(data, size));
}

// A time a month file's record can hold: "HH:MM" of a day, or none.
inline bool timeOrEmpty(const std::string& time)
{
    return time.empty() || (time.size() == 5 && time[2] == ':' && time < "24:00");
}

// A small number taken from the front of the input, and the rest.
inline int takeNumber(std::string& input, int modulo)
{
    if (input.empty())
        return 0;
    const int value = static_cast<unsigned char>(input[0]) % modulo;
    input.erase(0, 1);
    return value;
}

} // namespace kal::fuzz
