// Text fields limited in Shift-JIS bytes, typed into and pasted into as a user does.
#include "platform/qt/SjisValidator.h"

#include "support/GuiInput.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

struct Field {
    QLineEdit edit;
    QSignalSpy* leftOut = nullptr;

    explicit Field(int maxBytes, const QString& text = {})
    {
        edit.setText(text);
        qt::limitSjisBytes(&edit, maxBytes);
        leftOut = new QSignalSpy(qobject_cast<const qt::SjisValidator*>(edit.validator()), &qt::SjisValidator::leftOut);
        edit.show();
        edit.setFocus();
    }
    ~Field() { delete leftOut; }
    void paste(const QString& text, int at)
    {
        QApplication::clipboard()->setText(text);
        edit.setCursorPosition(at);
        edit.paste();
    }
    QString message() const { return leftOut->isEmpty() ? QString() : leftOut->last().at(0).toString(); }
};

} // namespace

TEST(SjisValidator, PastedTextKeepsWhatCanBeStoredAndSaysWhatWasLeftOut)
{
    struct Case {
        const char* what;
        int maxBytes;
        QString before, pasted;
        int at;
        QString after, toldAbout;
    };
    const Case cases[] = {
        {"characters Shift-JIS cannot hold", 40, "", QString::fromUtf8("会議😀室한"), 0, QString::fromUtf8("会議室"),
         QString::fromUtf8("😀한")},
        {"past the limit, at the end", 10, "abc", QString::fromUtf8("あいうえお"), 3, QString::fromUtf8("abcあいう"),
         QString::fromUtf8("長さ")},
        {"past the limit, in the middle", 6, "abcd", "XYZ", 2, "abXYcd", QString::fromUtf8("長さ")},
        {"both", 8, "", QString::fromUtf8("😀ａｂｃｄｅ"), 0, QString::fromUtf8("ａｂｃｄ"), QString::fromUtf8("😀")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Field field(c.maxBytes, c.before);
        field.paste(c.pasted, c.at);
        EXPECT_EQ(field.edit.text(), c.after);
        ASSERT_EQ(field.leftOut->count(), 1);
        EXPECT_TRUE(field.message().contains(c.toldAbout)) << field.message().toStdString();
    }
}

TEST(SjisValidator, TypingKeepsEveryStorableCharacterAndRefusesTheRest)
{
    Field field(6);
    typeText(&field.edit, QString::fromUtf8("あ한い"));
    EXPECT_EQ(field.edit.text(), QString::fromUtf8("あい"));
    EXPECT_EQ(field.leftOut->count(), 1);
    QTest::keyClicks(&field.edit, "xyz");
    EXPECT_EQ(field.edit.text(), QString::fromUtf8("あいxy")) << "the limit counts bytes";
    EXPECT_EQ(field.leftOut->count(), 2);
    // A character typed into a full field in the middle never pushes out the end.
    field.edit.setCursorPosition(1);
    QTest::keyClicks(&field.edit, "q");
    EXPECT_EQ(field.edit.text(), QString::fromUtf8("あいxy"));
    EXPECT_EQ(field.edit.cursorPosition(), 1);
    EXPECT_EQ(field.leftOut->count(), 3);
    // Storable text that fits goes in silently.
    field.edit.clear();
    QTest::keyClicks(&field.edit, "ok");
    EXPECT_EQ(field.edit.text(), "ok");
    EXPECT_EQ(field.leftOut->count(), 3);
}

TEST(SjisValidator, TheMessageShowsBesideTheFieldOfAnEditableList)
{
    QComboBox combo;
    combo.setEditable(true);
    qt::limitSjisBytes(&combo, 10);
    combo.show();
    combo.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&combo));
    combo.lineEdit()->setFocus();
    QApplication::clipboard()->setText(QString::fromUtf8("場所😀"));
    combo.lineEdit()->paste();
    EXPECT_EQ(combo.currentText(), QString::fromUtf8("場所"));
    QTest::qWait(20);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains(QString::fromUtf8("😀")));
    QToolTip::hideText();
}

TEST(SjisValidator, AMultiLineEditorAlsoSaysWhatItLeftOut)
{
    QPlainTextEdit memo;
    qt::keepSjisOnly(&memo);
    memo.show();
    memo.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&memo));
    QApplication::clipboard()->setText(QString::fromUtf8("一行目😀\n二行目한"));
    memo.paste();
    EXPECT_EQ(memo.toPlainText(), QString::fromUtf8("一行目\n二行目"));
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains(QString::fromUtf8("😀한")));
    QToolTip::hideText();
}
