// The settings file: any bytes are read (loading may refuse, never crash); writing a key changes
// only that key's line (or adds it), and every other line, unparseable ones included, comes back
// byte for byte.
#include "FuzzSupport.h"
#include "settings/AppSettings.h"
#include "settings/SetupSettings.h"

#include <algorithm>

namespace {

// `after` is `before` with one line replaced, one line inserted, or a section and key appended.
bool onlyOneKeyChanged(const std::vector<std::string>& before, const std::vector<std::string>& after)
{
    if (after.size() == before.size()) {
        std::size_t differing = 0;
        for (std::size_t i = 0; i < before.size(); ++i)
            differing += before[i] != after[i];
        return differing <= 1;
    }
    if (after.size() == before.size() + 1) {
        const auto differ = std::mismatch(before.begin(), before.end(), after.begin());
        return std::equal(differ.first, before.end(), differ.second + 1);
    }
    return after.size() == before.size() + 2 && std::equal(before.begin(), before.end(), after.begin());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    // A settings file is a few kilobytes; larger inputs only slow the search down.
    if (size > 4096)
        return 0;
    std::vector<std::string> lines = fuzz::linesOf(data, size);
    IniFile ini("/nonexistent/Kalendra.ini", lines);
    AppSettings settings;
    readSettings(ini, "/p/", settings);
    for (const std::string* folder : {&settings.dataPath, &settings.memoPath, &settings.todoPath, &settings.notePath})
        FUZZ_CHECK(!folder->empty() && folder->back() == '/');

    for (const char* key : {"Title", "Width"}) {
        IniFile changed = ini;
        changed.writeString("Window", key, "x=y");
        FUZZ_CHECK(changed.readString("Window", key, "") == "x=y");
        FUZZ_CHECK(onlyOneKeyChanged(lines, changed.lines()));
    }

    IniFile dialog = ini;
    writeDialogKeys(dialog, "", 2026);
    FUZZ_CHECK(dialog.readString("Kalendra", "Ver", "") == kProgramVersion);
    for (const DialogKey& key : dialogKeys("", 2026))
        FUZZ_CHECK(key.skipWhenMissing || dialog.hasKey(key.section, key.key));
    return 0;
}
