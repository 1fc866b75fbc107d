#include "support/TempFolder.h"

#include "platform/Files.h"
#include "platform/SjisCodec.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>

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
    // Replaced whole as the program saves (a new file renamed over the old one, refused where the
    // program refuses), but of any size, since tests make files larger than the readers take, and
    // without the flush to disk, which would cost most of the suite's time.
    const std::string target = files::resolveLinks(path_ + name);
    if (!files::checkReplaceable(target, SIZE_MAX))
        throw std::runtime_error("cannot write " + name);
    const std::string temporary = target + ".test-write";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << bytes;
        if (!out.flush())
            throw std::runtime_error("cannot write " + name);
    }
    struct stat old { };
    if (::stat(target.c_str(), &old) == 0)
        ::chmod(temporary.c_str(), old.st_mode & 07777);
    if (std::rename(temporary.c_str(), target.c_str()) != 0)
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
