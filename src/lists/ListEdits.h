// Deleting what the list window lists: the question asked first, and the deletion of one or
// many rows. Every row is checked against the text it was listed with before anything is
// written; when one of them changed meanwhile nothing is written at all.
#pragma once

#include "lists/ListRows.h"
#include "platform/FileOps.h"
#include "store/Edit.h"

#include <string>
#include <vector>

namespace kal {

// The caption of the deletion's question and messages, by mode (UTF-8).
const char* DeleteCaption(ListMode mode);
// What a mode lists, for messages: "スケジュール", "祝日・休日・記念日", "メモ" (UTF-8).
const char* ListRecordName(ListMode mode);
// "<records>が他で変更されています。" and that the list is refreshed (UTF-8).
std::string ChangedMeanwhileText(ListMode mode);
// The question before `selected` rows are deleted (UTF-8).
std::string DeleteQuestion(const ListRows& rows, const std::vector<const ListRow*>& selected);

// Deletes the selected rows' records: schedules from their month files (each file read and
// written once, `follower` told of them), rules from the holiday table, memos with their files.
store::EditResult DeleteListRows(const ListRows& rows, const std::vector<const ListRow*>& selected,
                                 store::Follower follower, files::FileOps& ops = files::systemFileOps());

} // namespace kal
