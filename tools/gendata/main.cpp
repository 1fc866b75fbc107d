// kalendra_gendata DIR [--years N] [--first-year Y] [--per-month N] [--memos-per-year N]
//                      [--todos N] [--notes N] [--holidays FILE]
// Fills DIR (made when missing) with generated data; see DataGenerator.h.
#include "DataGenerator.h"
#include "platform/Files.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int usage()
{
    std::fputs("usage: kalendra_gendata DIR [--years N] [--first-year Y] [--per-month N] [--memos-per-year N] "
               "[--todos N] [--notes N] [--holidays FILE]\n",
               stderr);
    return 2;
}

bool readCount(const char* text, int low, int high, int& value)
{
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < low || parsed > high)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argv[1][0] == '-')
        return usage();
    const std::string folder = argv[1];
    kal::gendata::DataShape shape;
    std::string holidays = KALENDRA_SOURCE_DIR "/data/Holiday.dat";
    for (int i = 2; i < argc; i += 2) {
        if (i + 1 >= argc)
            return usage();
        const std::string option = argv[i];
        const char* value = argv[i + 1];
        bool ok = true;
        if (option == "--years")
            ok = readCount(value, 1, 200, shape.years);
        else if (option == "--first-year")
            ok = readCount(value, 1900, 9000, shape.firstYear);
        else if (option == "--per-month")
            ok = readCount(value, 0, 10000, shape.schedulesPerMonth);
        else if (option == "--memos-per-year")
            ok = readCount(value, 0, 366, shape.memosPerYear);
        else if (option == "--todos")
            ok = readCount(value, 0, 100000, shape.todoEntries);
        else if (option == "--notes")
            ok = readCount(value, 0, 1000, shape.notes);
        else if (option == "--holidays")
            holidays = value;
        else
            ok = false;
        if (!ok)
            return usage();
    }
    if (auto made = kal::files::createFolders(folder); !made) {
        std::fprintf(stderr, "%s: %s\n", folder.c_str(), made.reason.c_str());
        return 1;
    }
    const auto result = kal::gendata::GenerateData(folder, shape, holidays, kal::gendata::unflushedFileOps());
    kal::gendata::syncFolder(folder);
    if (!result.ok) {
        std::fprintf(stderr, "%s\n", result.reason.c_str());
        return 1;
    }
    return 0;
}
