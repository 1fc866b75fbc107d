// A ToDo.dat of 2,000 entries: a quarter done, some without deadline, Japanese titles and
// categories, every one with a memo number.
#pragma once

#include "platform/SjisCodec.h"
#include "todo/TodoRecord.h"

#include <string>
#include <vector>

namespace kal::bench {

inline constexpr int kTodoEntries = 2000;

inline std::vector<std::string> makeTodoLines()
{
    const std::string titles[] = {sjis::fromUtf8Lossy("報告書の提出"), sjis::fromUtf8Lossy("見積書を送る"),
                                  sjis::fromUtf8Lossy("打ち合わせの準備と資料の印刷")};
    const std::string categories[] = {"", sjis::fromUtf8Lossy("仕事"), sjis::fromUtf8Lossy("私用")};
    std::vector<std::string> lines;
    for (int i = 0; i < kTodoEntries; ++i) {
        TodoFields f;
        if (i % 7 != 0)
            f.deadline = addDays(Date{2026, 12, 8}, i % 120 - 30);
        f.priority = i % 4;
        f.progress = i % 11;
        f.done = i % 4 == 0;
        f.doneDate = Date{2026, 11, 1 + i % 30};
        f.category = categories[i % 3];
        f.memoNumber = 1 + i % 99;
        f.title = titles[i % 3] + std::to_string(i);
        lines.push_back(ComposeTodo(f));
    }
    return lines;
}

} // namespace kal::bench
