// The password file: any bytes read from it give a verdict without fault, and a password written
// by the program is read back as the one accepted.
#include "FuzzSupport.h"
#include "app/Password.h"

#include <algorithm>
#include <fstream>
#include <unistd.h>

namespace {

const std::string& passwordPath()
{
    static const std::string path = [] {
        std::string pattern = "/tmp/kalendra-fuzz-XXXXXX";
        return std::string(::mkdtemp(pattern.data())) + "/" + kal::kPasswordFileName;
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    const std::string bytes = fuzz::bytesOf(data, size);
    std::ofstream(passwordPath(), std::ios::binary | std::ios::trunc) << bytes;
    std::optional<PasswordFile> file = readPasswordFile(passwordPath());
    FUZZ_CHECK(file && file->readable);
    FUZZ_CHECK(file->hasLine == !bytes.empty());
    checkPassword(*file, bytes);

    // What the user types is any text without line ends; it reads back as itself.
    std::string typed = bytes.substr(0, 255);
    typed.erase(std::remove_if(typed.begin(), typed.end(), [](char c) { return c == '\r' || c == '\n'; }), typed.end());
    if (typed.empty())
        return 0;
    const DateTime when{{2026, 5, 5}, 1, 2, 3};
    FUZZ_CHECK(DecodeStr(EncodeStr(typed, when)) == typed);
    PasswordFile written;
    written.hasLine = true;
    written.line = EncodeStr(typed, when);
    FUZZ_CHECK(checkPassword(written, typed) == PasswordVerdict::Accepted);
    return 0;
}
