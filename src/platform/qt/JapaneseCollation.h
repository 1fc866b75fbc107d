// Japanese, case-sensitive collation of Shift-JIS texts through Qt's collator (ICU): the one
// comparison of the column sorts in the list window and both ToDo lists. Latin before kana,
// kana in the order of the syllabary (hiragana, katakana and half-width kana side by side),
// then kanji; full-width Latin beside half-width; lower case before upper case of one letter;
// numbers compared as text, digit by digit.
#pragma once

#include "platform/Collation.h"

#include <QCollator>

namespace kal::qt {

class JapaneseCollation final : public text::Collation {
public:
    JapaneseCollation();
    // Ranks count from 0 without gaps.
    std::vector<int> ranks(const std::vector<std::string>& texts) const override;

private:
    QCollator collator_;
};

// The program's one instance.
const JapaneseCollation& japaneseCollation();

} // namespace kal::qt
