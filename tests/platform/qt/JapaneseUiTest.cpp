// Qt's own dialogs and buttons speak Japanese once the program has started.
#include "platform/qt/JapaneseUi.h"
#include "platform/qt/FontChoice.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QTextLayout>
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

// The face that draws `text` in `font`.
QString faceDrawing(const QString& text, const QFont& font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    return layout.glyphRuns().value(0).rawFont().familyName();
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

TEST(JapaneseUi, SizesAndDatesAreJapaneseWhateverTheEnvironmentSays)
{
    EXPECT_EQ(QLocale::system().formattedDataSize(14), QString::fromUtf8("14 バイト")); // the file dialogs' sizes
    if (qEnvironmentVariableIsSet("KALENDRA_LOCALE_CHILD"))
        return;
    QProcess child; // the locale is fixed before the application object exists
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"KALENDRA_LOCALE_CHILD", "LC_ALL", "LANG"})
        environment.insert(name, "C.UTF-8");
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=JapaneseUi.SizesAndDates*"});
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
}

TEST(JapaneseUi, FontDialogShowsTheStoredFontOrItsSubstituteAndKeepsWhatWasNotChanged)
{
    const FontSpec stored{"ＭＳ Ｐゴシック", 16, FontStyle::Bold, 0xFF}; // a name this system lacks
    const std::pair<QFont, FontSpec> cases[] = {
        {QFont(), stored},                                                     // OK without a change
        {QFont("IPAPGothic", 20), {stored.name, 20, FontStyle::Bold, 0xFF}},   // only the size
        {QFont("IPAGothic", 11), {"IPAGothic", 11, FontStyle::Regular, 0xFF}}, // another family
    };
    for (const auto& [picked, expected] : cases) {
        QFontDialog dialog;
        const qt::FontChoice choice(dialog, stored);
        EXPECT_EQ(dialog.currentFont().family(), QFontInfo(qt::toQFont(stored)).family());
        for (const QCheckBox* effect : dialog.findChildren<QCheckBox*>())
            EXPECT_FALSE(effect->isVisibleTo(&dialog));
        if (picked != QFont())
            dialog.setCurrentFont(picked);
        EXPECT_EQ(choice.chosen(), expected);
    }
}

TEST(JapaneseUi, InterfaceDrawsItsTextInThePanelsFace)
{
    const QFont system = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    const FontSpec gothic{"MS UI Gothic", 9, FontStyle::Regular, 0}, latinOnly{"DejaVu Sans", 9, FontStyle::Bold, 0};
    const QString kana = QString::fromUtf8("ノート"), panelFace = faceDrawing(kana, qt::toQFont(gothic));
    ASSERT_NE(panelFace, faceDrawing(kana, system)) << "the system's fallback is the panels' face already";
    // A day font without Japanese is passed over; with none, the system's font stays.
    const std::pair<std::vector<FontSpec>, QFont> cases[] = {{{gothic, gothic}, qt::toQFont(gothic)},
                                                             {{latinOnly, gothic}, qt::toQFont(gothic)},
                                                             {{latinOnly, latinOnly}, system}};
    // A desktop theme's font of its own for a kind of widget stays; a widget made before follows.
    const QFont themeMenus("DejaVu Serif", 13);
    QApplication::setFont(themeMenus, "QMenu");
    const QLabel before;
    for (const auto& [panels, drawnLike] : cases) {
        qt::followPanelJapaneseFace(panels);
        EXPECT_EQ(QApplication::font("QMenu"), themeMenus);
        EXPECT_EQ(faceDrawing(kana, before.font()), faceDrawing(kana, drawnLike));
        EXPECT_EQ(faceDrawing(kana, QApplication::font()), faceDrawing(kana, drawnLike));
        EXPECT_EQ(faceDrawing("Aa", QApplication::font()), faceDrawing("Aa", drawnLike));
        EXPECT_EQ(QApplication::font().pointSizeF(), system.pointSizeF());
    }
    QApplication::setFont(system);
}
