// Qt's own dialogs and buttons speak Japanese once the program has started.
#include "platform/qt/JapaneseUi.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLocale>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kal;

namespace {

QStringList buttonTexts(const QWidget& dialog)
{
    QStringList texts;
    for (const QPushButton* button : dialog.findChildren<QPushButton*>())
        texts << button->text();
    return texts;
}

} // namespace

TEST(JapaneseUi, QtsDialogsAndStandardButtonsSpeakJapanese)
{
    const QLocale before;
    {
        std::unique_ptr<QTranslator> japanese = qt::installJapaneseUi();
        ASSERT_TRUE(japanese) << "qtbase_ja comes with Debian's Qt 6 translations";
        EXPECT_EQ(QLocale().language(), QLocale::Japanese);

        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes |
                             QDialogButtonBox::No);
        EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8("キャンセル"));
        EXPECT_EQ(box.button(QDialogButtonBox::Yes)->text(), QString::fromUtf8("はい(&Y)"));
        EXPECT_EQ(box.button(QDialogButtonBox::No)->text(), QString::fromUtf8("いいえ(&N)"));

        QColorDialog colour;
        EXPECT_EQ(colour.windowTitle(), QString::fromUtf8("色を選択"));
        EXPECT_TRUE(buttonTexts(colour).contains(QString::fromUtf8("カスタムカラーに追加(&A)")));

        QFileDialog file;
        file.setOption(QFileDialog::DontUseNativeDialog);
        EXPECT_TRUE(buttonTexts(file).contains(QString::fromUtf8("キャンセル")));
    }
    QLocale::setDefault(before);
    QDialogButtonBox english(QDialogButtonBox::Cancel);
    EXPECT_EQ(english.button(QDialogButtonBox::Cancel)->text(), "Cancel") << "the translator left with its owner";
}
