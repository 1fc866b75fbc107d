// Intent records of interrupted multi-file saves: only a whole record decodes, and a decoded
// record encodes to exactly the bytes it came from.
#include "FuzzSupport.h"
#include "platform/IntentRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal::files;
    const std::string bytes = kal::fuzz::bytesOf(data, size);
    if (std::optional<IntentRecord> record = DecodeIntent(bytes)) {
        FUZZ_CHECK(EncodeIntent(*record) == bytes);
        for (const IntentEntry& entry : record->entries)
            FUZZ_CHECK(IsPlainFileName(entry.name));
    }
    // Any contents, line ends and NUL bytes included, survive the record.
    IntentRecord built{IntentDirection::Undo, {{"a.sch", bytes, std::nullopt}, {"b.sch", std::nullopt, bytes}}};
    FUZZ_CHECK(DecodeIntent(EncodeIntent(built)) == built);
    return 0;
}
