// Writes the default holiday table and the reference list of days off by law.
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "HolidayLaw.h"
#include "HolidayTable.h"

namespace {

void writeFile(const std::filesystem::path& path, const std::string& bytes)
{
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: holiday_gen OUT_HOLIDAY_DAT OUT_REFERENCE_TXT\n";
        return 2;
    }
    try {
        writeFile(argv[1], holidays::holidayDat());
        writeFile(argv[2], holidays::referenceList());
    } catch (const std::exception& e) {
        std::cerr << "holiday_gen: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
