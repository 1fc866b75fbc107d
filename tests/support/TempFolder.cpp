#include "support/TempFolder.h"

#include "platform/Files.h"
#include "platform/SjisCodec.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace kal::test {

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kalendra-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern + "/";
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TempFolder::write(const std::string& name, const std::string& bytes) const
{
    // Refused where the program refuses, but of any size (tests make files larger than the readers
    // take) and without the program's flush to disk, which would cost most of the suite's time.
    if (!files::checkReplaceable(path_ + name, SIZE_MAX) ||
        !(std::ofstream(path_ + name, std::ios::binary | std::ios::trunc) << bytes))
        throw std::runtime_error("cannot write " + name);
}

std::string TempFolder::read(const std::string& name) const
{
    auto bytes = files::readBytes(path_ + name);
    return bytes ? *bytes : std::string();
}

bool TempFolder::exists(const std::string& name) const
{
    return files::fileExists(path_ + name);
}

std::string sj(const std::string& utf8)
{
    auto s = sjis::fromUtf8(utf8);
    if (!s)
        throw std::runtime_error("not Shift-JIS: " + utf8);
    return *s;
}

std::string crlf(const std::vector<std::string>& lines)
{
    std::string out;
    for (const auto& line : lines)
        out += line + "\r\n";
    return out;
}

} // namespace kal::test
