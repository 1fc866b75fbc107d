// Digits typed into a date field take effect, however the keyboard delivers them.
#include "platform/qt/Widgets.h"

#include <QDateEdit>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace kal;

namespace {

using Typing = std::function<void(QWidget*, const QString&)>;

void keys(QWidget* field, const QString& text)
{
    QTest::keyClicks(field, text);
}

// A Japanese input method commits what was typed, in hiragana mode as full-width digits.
void committed(QWidget* field, const QString& text)
{
    for (QChar c : text) {
        QInputMethodEvent event;
        event.setCommitString(QString(c));
        QCoreApplication::sendEvent(field, &event);
    }
}

// Some input methods deliver full-width digits as key presses carrying the text.
void fullWidthKeys(QWidget* field, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(field, &press);
    }
}

} // namespace

TEST(DateEdit, TypedDigitsChangeTheSelectedPart)
{
    struct Case {
        const char* how;
        Typing type;
        const char* day;
        const char* year;
    };
    const Case cases[] = {
        {"keys", keys, "15", "2027"},
        {"input method, Latin digits", committed, "15", "2027"},
        {"input method, full-width digits", committed, "１５", "２０２７"},
        {"full-width key presses", fullWidthKeys, "１５", "２０２７"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        QWidget window;
        QDateEdit* field = qt::dateEdit("Dtp", "yyyy'年'M'月'd'日'(dddd)", &window);
        field->setDate(QDate(2026, 12, 8));
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        field->setFocus();
        field->setSelectedSection(QDateTimeEdit::DaySection);
        c.type(field, QString::fromUtf8(c.day));
        field->setSelectedSection(QDateTimeEdit::YearSection);
        c.type(field, QString::fromUtf8(c.year));
        QTest::keyClick(field, Qt::Key_Tab);
        EXPECT_EQ(field->date(), QDate(2027, 12, 15));
        EXPECT_EQ(field->text(), QString::fromUtf8("2027年12月15日(水曜日)"));
    }
}
