// Memo files: any bytes read as lines; the lines saved (CR LF after each) read back as the same
// lines, so an edit saves exactly what was shown, trailing empty lines included.
#include "FuzzSupport.h"
#include "memo/DayMemo.h"
#include "store/MemoFile.h"
#include "todo/TodoMemo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    const std::string bytes = fuzz::bytesOf(data, size);
    const std::vector<std::string> lines = store::ParseMemoText(bytes);
    for (const std::string& line : lines)
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
    FUZZ_CHECK(store::ParseMemoText(files::joinLines(lines)) == lines);
    // Editor text (the lines joined by the editor) saved and opened again is the same text.
    const std::string shown = MemoTextOfLines(lines);
    FUZZ_CHECK(MemoTextOfLines(store::ParseMemoText(files::joinLines(MemoLinesOfText(shown)))) == shown);
    if (store::IsEmptyMemo(lines))
        FUZZ_CHECK(lines.size() <= 1);
    MemoFileDate(bytes);
    return 0;
}
