// Identity.dat: any bytes give a table without crashing; what it writes reads back to the same
// table, every line that is no entry comes back byte for byte and in order (only an entry equal to
// one before it is written once), and following a change of records removes exactly the removed
// record's entry.
#include "FuzzSupport.h"
#include "exchange/RecordIdentities.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    const std::vector<std::string> lines = fuzz::linesOf(data, size);
    IdentityTable table(lines);
    const std::vector<std::string> written = table.lines();
    FUZZ_CHECK(written.size() <= lines.size());
    FUZZ_CHECK(IdentityTable(written).lines() == written);
    const auto noEntries = [](const std::vector<std::string>& all) {
        std::vector<std::string> kept;
        for (const std::string& line : all)
            if (IdentityTable({line}).all().empty())
                kept.push_back(line);
        return kept;
    };
    FUZZ_CHECK(noEntries(written) == noEntries(lines));

    const std::vector<RecordIdentity*> entries = table.all();
    if (entries.size() < 2)
        return 0;
    const RecordKey gone = entries[0]->key, moved = entries[1]->key;
    table.follow({{{gone.file, gone.line, gone.occurrence}, std::nullopt},
                  {{moved.file, moved.line, moved.occurrence}, files::RecordPlace{"/d/200001.sch", "01", 0}}});
    FUZZ_CHECK(table.all().size() == entries.size() - 1);
    FUZZ_CHECK(table.find(RecordKey{"200001.sch", 0, "01"}) != nullptr);
    // Read back, an entry the follow made equal to another is written once; then it is stable.
    const std::vector<std::string> followed = IdentityTable(table.lines()).lines();
    FUZZ_CHECK(IdentityTable(followed).lines() == followed);
    return 0;
}
