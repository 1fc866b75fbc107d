// Notes: one tab per note below the calendar. A note's title names its file, title + ".not" in
// the note folder (plain Shift-JIS lines, like a day memo); Note.lst in the program folder keeps
// the tab order, one title per line. When NotePas is on, the note in the last tab is protected
// by the program's password, whichever note that is.
//
// Titles are Shift-JIS as stored; a title becomes a file name only after CheckNoteTitle passed,
// so no note command reaches outside the note folder.
#pragma once

#include "platform/Files.h"
#include "store/NoteListFile.h"

#include <optional>
#include <string>
#include <vector>

namespace kal {

inline constexpr const char* kNoteExtension = ".not";

// The one tab there is when Note.lst does not exist (Shift-JIS).
const std::string& UnregisteredNoteTitle();

// The eleven characters a title may not hold, in the order the message lists them.
inline constexpr const char kForbiddenTitleCharacters[] = "\\/:,;*?\"<>|";

enum class TitleProblem {
    None,
    Empty,              // nothing but blanks
    ForbiddenCharacter, // one of kForbiddenTitleCharacters
    NotAFileName,       // "..", a control character, broken Shift-JIS or too long for a file name
    Duplicate,          // a tab or a note file of that name exists
};

// Whether `title` (Shift-JIS) can name a note file; duplicates are the caller's business.
TitleProblem CheckNoteTitle(const std::string& title);
// The same, and not equal (byte for byte, so letter case counts) to any of `tabs`.
TitleProblem CheckNewNoteTitle(const std::string& title, const std::vector<std::string>& tabs);
// The message for a refused title, UTF-8; empty for None and Empty, which are not reported.
std::string TitleProblemMessage(TitleProblem problem, const std::string& title);

// The note's file; `title` must have passed CheckNoteTitle.
std::string NoteFilePath(const std::string& notePath, const std::string& title);
std::string NoteListPath(const std::string& programFolder);
// The title of a note file chosen by the user: its name without folder and extension, as
// Shift-JIS; nothing when the name has no Shift-JIS form.
std::optional<std::string> NoteTitleOfFile(const std::string& path);

// Note.lst read: the usable titles in order, and the lines that cannot be titles (kept, so that
// writing the file back loses nothing the user may still want to mend by hand).
struct NoteList {
    std::vector<std::string> titles;
    std::vector<std::string> refused; // unusable lines, kept at the end of the file
    std::vector<std::string> skipped; // refused lines and dropped duplicates, for the message
};

NoteList ParseNoteList(const std::string& bytes);
// Nothing when Note.lst does not exist; a file that cannot be read reads as nothing too, and is
// then never rewritten (see `readable`).
struct NoteListFile {
    bool exists = false;
    bool readable = true;
    std::string reason;
    NoteList list;
};
NoteListFile LoadNoteList(const std::string& programFolder);
files::IoResult SaveNoteList(const std::string& programFolder, const std::vector<std::string>& titles,
                             const std::vector<std::string>& refused, files::FileOps& ops = files::systemFileOps());

// The message naming the skipped lines of Note.lst (UTF-8).
std::string SkippedTitlesMessage(const std::vector<std::string>& skipped);

// Where a new tab goes: at the end, or just before the protected last tab.
int NewTabIndex(int tabCount, bool lastProtected);

// What moving the tab at `index` one place (`step` -1 up, +1 down) needs.
enum class TabMove { Allowed, Impossible, NeedsPassword };
TabMove CheckTabMove(int index, int step, int tabCount, bool lastProtected);

// What deleting the tab at `index` needs.
enum class NoteRemoval {
    Allowed,
    LastTab,       // a note must stay
    ProtectedPair, // two tabs with the last protected: neither may go
    NeedsPassword, // the protected tab itself
};
NoteRemoval CheckNoteRemoval(int index, int tabCount, bool lastProtected);

// Renames the note's file, when it has one, and writes the tab order with the new title to
// Note.lst (`order`; none when Note.lst could not be read and so is never rewritten). The two go
// together: when Note.lst cannot be written the file gets its old name back, so that the list
// never names a file that is not there. Refused when the new file exists.
enum class NoteRename {
    Done,
    Exists,
    Failed,      // nothing changed; `reason` says why
    ListUnsaved, // the file keeps its new name (putting the old one back failed too) but Note.lst
                 // still has the old title; `reason` says why
};
struct NoteRenameResult {
    NoteRename status = NoteRename::Done;
    std::string reason; // UTF-8
};
struct NoteOrder {
    std::string programFolder;
    std::vector<std::string> titles; // after the rename
    std::vector<std::string> refused;
};
NoteRenameResult RenameNoteFile(const std::string& notePath, const std::string& oldTitle, const std::string& newTitle,
                                const std::optional<NoteOrder>& order, files::FileOps& ops = files::systemFileOps());

// A link line starts, in any letter case, with http://, https://, file:// or mailto:. Its link
// part runs to the first blank (included) or the end of the line.
enum class LinkKind { Web, Mail, Other };
struct NoteLink {
    std::size_t length = 0; // bytes of the link part, its closing blank included
    std::string target;     // the link part without the blank
    LinkKind kind = LinkKind::Other;
};
std::optional<NoteLink> NoteLinkOf(const std::string& line);
// Web and mail addresses open at once; anything else asks first, because opening a file can
// start a program.
bool OpensWithoutAsking(LinkKind kind);
// The text drawn after a link part: at most 255 bytes.
std::string NoteLinkRest(const std::string& line, const NoteLink& link);

} // namespace kal
