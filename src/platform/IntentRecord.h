// The intent record of a multi-file change (see FileTransaction.h): which files of one folder
// change, with their contents before and after, and which way an interrupted change is to be
// finished. Its text form is checked whole by a checksum, so a damaged record is never acted on.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kal::files {

enum class IntentDirection { Apply, Undo };

struct IntentEntry {
    std::string name;                  // a file name in the record's folder, no separator
    std::optional<std::string> before; // nothing: the file did not exist
    std::optional<std::string> after;  // nothing: the file is deleted

    bool operator==(const IntentEntry&) const = default;
};

struct IntentRecord {
    IntentDirection direction = IntentDirection::Apply;
    std::vector<IntentEntry> entries;

    bool operator==(const IntentRecord&) const = default;
};

// A plain file name: not empty, not "." or "..", without '/' or NUL.
bool IsPlainFileName(std::string_view name);

std::string EncodeIntent(const IntentRecord& record);
// Nothing unless `bytes` is a whole record as EncodeIntent writes it.
std::optional<IntentRecord> DecodeIntent(std::string_view bytes);

} // namespace kal::files
