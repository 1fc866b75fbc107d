// Qt's own dialogs and buttons speak Japanese once the program has started.
#include "platform/qt/JapaneseUi.h"

#include "support/TempFolder.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
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

TEST(JapaneseUi, FileDialogsShowSizesAndDatesInJapanese)
{
    EXPECT_EQ(QLocale::system().language(), QLocale::Japanese);
    test::TempFolder folder;
    folder.write("note.txt", "fourteen bytes");
    QFileSystemModel model;
    const QModelIndex root = model.setRootPath(QString::fromStdString(folder.path()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.rowCount(root) == 1; }, 3000));
    const QModelIndex file = model.index(0, 0, root);
    EXPECT_EQ(model.data(file.siblingAtColumn(1)).toString(), QString::fromUtf8("14 バイト"));
    const QString modified = model.data(file.siblingAtColumn(3)).toString();
    EXPECT_TRUE(modified.contains(QRegularExpression("^\\d{4}/\\d{2}/\\d{2} "))) << modified.toStdString();
}

TEST(JapaneseUi, SystemLocaleIsJapaneseWhateverTheEnvironmentSays)
{
    // The locale is fixed before the application object exists, so it takes a new process.
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LANG", "C.UTF-8");
    environment.insert("LC_ALL", "C.UTF-8");
    environment.insert("LANGUAGE", "en");
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=JapaneseUi.FileDialogsShowSizesAndDatesInJapanese"});
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
}
