// The font dialog on the program's stored fonts, those the system lacks included.
#include "platform/qt/FontChoice.h"
#include "platform/qt/QtText.h"

#include <QCheckBox>
#include <QFontDialog>
#include <QFontInfo>
#include <gtest/gtest.h>

using namespace kal;

namespace {

const FontSpec kStoredFonts[] = {
    {"Arial", 11, FontStyle::Bold, 0x0000FF},
    {"ＭＳ Ｐゴシック", 16, FontStyle::Bold, 0},
    {"MS UI Gothic", 9, FontStyle::BoldItalic, 0x123456},
    {"NoSuchFamily", 10, FontStyle::Italic, 0},
    {"IPAGothic", 12, FontStyle::Regular, 0},
    {"Liberation Serif", 14, FontStyle::BoldItalic, 0xFF0000},
};

} // namespace

TEST(FontChoice, OkWithoutChangesKeepsTheStoredFontAndTheDialogShowsItsSubstitute)
{
    for (const FontSpec& stored : kStoredFonts) {
        SCOPED_TRACE(stored.name);
        QFontDialog dialog;
        const qt::FontChoice choice(dialog, stored);
        EXPECT_EQ(dialog.currentFont().family(), QFontInfo(qt::toQFont(stored)).family());
        EXPECT_EQ(dialog.currentFont().pointSize(), stored.size);
        for (const QCheckBox* effect : dialog.findChildren<QCheckBox*>())
            EXPECT_FALSE(effect->isVisibleTo(&dialog)) << effect->text().toStdString();
        EXPECT_EQ(choice.chosen(), stored);
    }
}

TEST(FontChoice, WhatTheUserChangesIsTakenAndTheRestKept)
{
    struct Change {
        FontSpec stored;
        QFont picked;
        FontSpec expected;
    };
    QFont boldSerif("Liberation Serif", 13);
    boldSerif.setBold(true);
    const Change changes[] = {
        // Only the size: the name the system lacks and the bold style stay.
        {{"ＭＳ Ｐゴシック", 16, FontStyle::Bold, 0},
         QFont("IPAPGothic", 20),
         {"ＭＳ Ｐゴシック", 20, FontStyle::Bold, 0}},
        // Another family: its name and the style the dialog shows are taken, the colour kept.
        {{"Arial", 11, FontStyle::Bold, 0xFF}, QFont("IPAGothic", 11), {"IPAGothic", 11, FontStyle::Regular, 0xFF}},
        {{"Liberation Sans", 9, FontStyle::Regular, 0}, boldSerif, {"Liberation Serif", 13, FontStyle::Bold, 0}},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.expected.name);
        QFontDialog dialog;
        const qt::FontChoice choice(dialog, c.stored);
        dialog.setCurrentFont(c.picked);
        EXPECT_EQ(choice.chosen(), c.expected);
    }
}
