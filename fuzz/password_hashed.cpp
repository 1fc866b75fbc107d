// The hashed password file form: any line behind the hash prefix gives a verdict without fault
// and in bounded time, and never accepts an entry unless it is a real hash of it.
#include "FuzzSupport.h"
#include "app/Password.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    if (size > 512)
        return 0;
    const std::string bytes = "$argon2id$" + fuzz::bytesOf(data, size);
    const PasswordFile file = ParsePasswordFile(bytes + "\r\n");
    // Only the first line is the hash, whatever follows it.
    FUZZ_CHECK(file.hasLine && file.form == PasswordForm::Hashed &&
               file.line == bytes.substr(0, bytes.find_first_of("\r\n")));
    checkPassword(file, "secret");
    // A stored line cut short never verifies.
    static const std::string real = HashPassword("secret").value();
    PasswordFile cut = ParsePasswordFile(real.substr(0, size % real.size()));
    FUZZ_CHECK(checkPassword(cut, "secret") == (cut.hasLine ? PasswordVerdict::Wrong : PasswordVerdict::Accepted));
    return 0;
}
