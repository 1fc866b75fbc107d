#include "memo/Note.h"

#include "platform/ByteText.h"
#include "platform/FolderLock.h"
#include "platform/SjisCodec.h"

#include <algorithm>
#include <cstring>

namespace kal {
namespace {

// Longest file name the file systems take, in bytes of the name as stored (UTF-8).
constexpr std::size_t kMaxFileNameBytes = 255;

bool isForbidden(unsigned char c)
{
    return c != 0 && std::strchr(kForbiddenTitleCharacters, c) != nullptr;
}

bool isControl(unsigned char c)
{
    return c < 0x20 || c == 0x7F;
}

bool startsWithNoCase(const std::string& line, const char* prefix)
{
    const std::size_t n = std::strlen(prefix);
    return line.size() >= n && text::equalsNoCase(std::string_view(line).substr(0, n), prefix);
}

// A title as the user reads it in a message (UTF-8): control characters, which would show as
// nothing, written as editors show them (a tab as →, others as ^@, ^?); cut to `maxBytes`
// with an ellipsis.
std::string visibleTitle(const std::string& title, std::size_t maxBytes = std::string::npos)
{
    std::string shown;
    for (std::size_t i = 0; i < title.size() && shown.size() <= maxBytes; i += sjis::charLength(title, i)) {
        const auto c = static_cast<unsigned char>(title[i]);
        if (c == '\t')
            shown += KAL_SJIS("→");
        else if (sjis::charLength(title, i) == 1 && isControl(c))
            shown += {'^', static_cast<char>(c ^ 0x40)};
        else
            shown.append(title, i, sjis::charLength(title, i));
    }
    if (shown.size() <= maxBytes)
        return sjis::toUtf8(shown);
    return sjis::toUtf8(text::cutBytes(shown, maxBytes)) + "…";
}

} // namespace

const std::string& UnregisteredNoteTitle()
{
    return KAL_SJIS("未登録");
}

TitleProblem CheckNoteTitle(const std::string& title)
{
    // Only spaces are nothing; tabs and other control characters are reported like any
    // unusable line.
    if (title.find_first_not_of(' ') == std::string::npos)
        return TitleProblem::Empty;
    bool forbidden = false, control = false;
    // Character by character: the second byte of a double-byte character may look like '\' or '|'.
    for (std::size_t i = 0; i < title.size(); i += sjis::charLength(title, i)) {
        if (sjis::charLength(title, i) == 2)
            continue;
        const auto c = static_cast<unsigned char>(title[i]);
        forbidden = forbidden || isForbidden(c);
        control = control || isControl(c);
    }
    if (forbidden)
        return TitleProblem::ForbiddenCharacter;
    const std::string fileName = sjis::toUtf8(title) + kNoteExtension;
    const bool broken = fileName.find("\xEF\xBF\xBD") != std::string::npos; // U+FFFD
    if (control || broken || title.find("..") != std::string::npos || fileName.size() > kMaxFileNameBytes)
        return TitleProblem::NotAFileName;
    return TitleProblem::None;
}

TitleProblem CheckNewNoteTitle(const std::string& title, const std::vector<std::string>& tabs)
{
    TitleProblem problem = CheckNoteTitle(title);
    if (problem != TitleProblem::None)
        return problem;
    return std::find(tabs.begin(), tabs.end(), title) != tabs.end() ? TitleProblem::Duplicate : TitleProblem::None;
}

std::string TitleProblemMessage(TitleProblem problem, const std::string& title)
{
    switch (problem) {
    case TitleProblem::ForbiddenCharacter: {
        std::string list;
        for (const char* c = kForbiddenTitleCharacters; *c; ++c)
            list += std::string(1, *c) + (c[1] ? " " : "");
        return "タブ名には次の文字は使えません。\r\n　　" + list;
    }
    case TitleProblem::NotAFileName:
        return "「" + visibleTitle(title) +
               "」はタブ名に使えません。\r\n「..」や制御文字を含まない、短いタブ名にして下さい。";
    case TitleProblem::Duplicate:
        return "「" + sjis::toUtf8(title) + "」は登録済みです。";
    case TitleProblem::None:
    case TitleProblem::Empty:
        break;
    }
    return {};
}

std::string NoteFilePath(const std::string& notePath, const std::string& title)
{
    return files::withSeparator(notePath) + sjis::toUtf8(title) + kNoteExtension;
}

std::string NoteListPath(const std::string& programFolder)
{
    return files::withSeparator(programFolder) + store::kNoteListFileName;
}

std::optional<std::string> NoteTitleOfFile(const std::string& path)
{
    std::string name = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
    if (std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0)
        name.resize(dot);
    return sjis::fromUtf8(name);
}

NoteList ParseNoteList(const std::string& bytes)
{
    NoteList list;
    for (std::string& line : store::ParseNoteListLines(bytes)) {
        switch (CheckNewNoteTitle(line, list.titles)) {
        case TitleProblem::None:
            list.titles.push_back(std::move(line));
            break;
        case TitleProblem::Empty:
            break;
        case TitleProblem::Duplicate:
            list.skipped.push_back(line);
            break;
        case TitleProblem::ForbiddenCharacter:
        case TitleProblem::NotAFileName:
            list.skipped.push_back(line);
            list.refused.push_back(std::move(line));
            break;
        }
    }
    return list;
}

NoteListFile LoadNoteList(const std::string& programFolder)
{
    NoteListFile file;
    const std::string path = NoteListPath(programFolder);
    file.exists = files::fileExists(path);
    if (!file.exists)
        return file;
    std::optional<std::string> bytes = files::readBytes(path);
    if (!bytes) {
        file.readable = false;
        file.reason = files::loadLinesForUpdate(path).reason;
        return file;
    }
    file.list = ParseNoteList(*bytes);
    return file;
}

files::IoResult SaveNoteList(const std::string& programFolder, const std::vector<std::string>& titles,
                             const std::vector<std::string>& refused, files::FileOps& ops)
{
    return store::SaveNoteListFile(NoteListPath(programFolder), titles, refused, ops).io();
}

std::string SkippedTitlesMessage(const std::vector<std::string>& skipped)
{
    std::string message = "Note.lst の次の行はタブ名に使えないか重複しているため、読み飛ばしました。";
    for (const std::string& line : skipped)
        message += "\r\n　" + visibleTitle(line, 80);
    return message;
}

int NewTabIndex(int tabCount, bool lastProtected)
{
    return lastProtected && tabCount > 0 ? tabCount - 1 : tabCount;
}

TabMove CheckTabMove(int index, int step, int tabCount, bool lastProtected)
{
    const int target = index + step;
    if (index < 0 || index >= tabCount || target < 0 || target >= tabCount)
        return TabMove::Impossible;
    const int last = tabCount - 1;
    return lastProtected && (index == last || target == last) ? TabMove::NeedsPassword : TabMove::Allowed;
}

NoteRemoval CheckNoteRemoval(int index, int tabCount, bool lastProtected)
{
    if (tabCount <= 1)
        return NoteRemoval::LastTab;
    if (lastProtected && tabCount == 2)
        return NoteRemoval::ProtectedPair;
    return lastProtected && index == tabCount - 1 ? NoteRemoval::NeedsPassword : NoteRemoval::Allowed;
}

NoteRenameResult RenameNoteFile(const std::string& notePath, const std::string& oldTitle, const std::string& newTitle,
                                const std::optional<NoteOrder>& order, files::FileOps& ops)
{
    NoteRenameResult result;
    files::FolderLock lock =
        files::lockFolders(order ? std::vector{notePath, order->programFolder} : std::vector{notePath});
    if (!lock)
        return {NoteRename::Failed, "タイトルを変更できません。\r\n" + lock.reason()};
    const std::string from = NoteFilePath(notePath, oldTitle), to = NoteFilePath(notePath, newTitle);
    if (files::fileExists(to) || files::folderExists(to)) {
        result.status = NoteRename::Exists;
        return result;
    }
    const bool hasFile = files::fileExists(from);
    if (hasFile) {
        if (files::IoResult renamed = files::renameFile(from, to, ops); !renamed)
            return {NoteRename::Failed, "タイトルを変更できません。\r\n" + renamed.reason};
    }
    if (!order)
        return result;
    files::IoResult listed = SaveNoteList(order->programFolder, order->titles, order->refused, ops);
    if (listed)
        return result;
    result.reason = "Note.lst を保存できません。\r\n" + listed.reason;
    if (!hasFile) {
        result.status = NoteRename::Failed;
        return result;
    }
    files::IoResult restored = files::renameFile(to, from, ops);
    result.status = restored ? NoteRename::Failed : NoteRename::ListUnsaved;
    if (!restored)
        result.reason += "\r\nノートのファイル名も元に戻せません。\r\n" + restored.reason;
    return result;
}

std::optional<NoteLink> NoteLinkOf(const std::string& line)
{
    struct Prefix {
        const char* text;
        LinkKind kind;
    };
    static const Prefix prefixes[] = {{"HTTP://", LinkKind::Web},
                                      {"HTTPS://", LinkKind::Web},
                                      {"FILE://", LinkKind::Other},
                                      {"MAILTO:", LinkKind::Mail}};
    for (const Prefix& prefix : prefixes) {
        if (!startsWithNoCase(line, prefix.text))
            continue;
        NoteLink link;
        link.kind = prefix.kind;
        const std::size_t blank = line.find(' ');
        link.length = blank == std::string::npos ? line.size() : blank + 1;
        link.target = line.substr(0, blank);
        return link;
    }
    return std::nullopt;
}

bool OpensWithoutAsking(LinkKind kind)
{
    return kind == LinkKind::Web || kind == LinkKind::Mail;
}

std::string NoteLinkRest(const std::string& line, const NoteLink& link)
{
    return text::cutBytes(std::string_view(line).substr(std::min(link.length, line.size())), 255);
}

} // namespace kal
