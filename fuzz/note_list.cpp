// Note.lst and note titles: every line of the file is either a usable title, a refused line kept
// for writing back, or a blank or duplicate line; what is written back reads as the same list.
// A title that passes the check names a file inside the note folder and nowhere else.
#include "FuzzSupport.h"
#include "memo/Note.h"
#include "platform/ByteText.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    const std::string bytes = fuzz::bytesOf(data, size);
    const NoteList list = ParseNoteList(bytes);
    FUZZ_CHECK(list.refused.size() <= list.skipped.size());
    for (const std::string& title : list.titles) {
        FUZZ_CHECK(CheckNoteTitle(title) == TitleProblem::None);
        FUZZ_CHECK(std::count(list.titles.begin(), list.titles.end(), title) == 1);
        // Inside the folder: one name, never "." or ".." (a title "." names the file "..not").
        const std::string path = NoteFilePath("/notes/", title);
        FUZZ_CHECK(path.rfind("/notes/", 0) == 0 && path.find('/', 7) == std::string::npos);
        const std::string name = path.substr(7);
        FUZZ_CHECK(name != "." && name != ".." && name.size() > 4 && name.ends_with(kNoteExtension));
    }
    for (const std::string& line : list.refused)
        FUZZ_CHECK(CheckNoteTitle(line) != TitleProblem::None && CheckNoteTitle(line) != TitleProblem::Empty);

    // Written back (titles, then refused lines), the file reads as the same titles and keeps
    // every refused line byte for byte.
    std::vector<std::string> written = list.titles;
    written.insert(written.end(), list.refused.begin(), list.refused.end());
    const NoteList again = ParseNoteList(files::joinLines(written));
    FUZZ_CHECK(again.titles == list.titles);
    FUZZ_CHECK(again.refused == list.refused);

    for (const std::string& line : files::splitLines(bytes)) {
        if (std::optional<NoteLink> link = NoteLinkOf(line)) {
            FUZZ_CHECK(link->length <= line.size() && link->target.size() <= link->length);
            FUZZ_CHECK(line.compare(0, link->target.size(), link->target) == 0);
            FUZZ_CHECK(NoteLinkRest(line, *link).size() <= 255);
        }
    }
    return 0;
}
