// The print dialog offscreen with the fake platform: its controls, the settings file, printing
// into a PDF without a printer, and the dialogs it opens.
#include "print/TDlgPrint.h"

#include "print/PrintFixture.h"
#include "print/TFormPreview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

using namespace kal;
using namespace kal::test;

namespace {

struct PrintDialogFixture : PrintFixture {
    std::unique_ptr<TDlgPrint> open(TDlgPrint::Use use = TDlgPrint::Use::PrintAndPreview)
    {
        return std::make_unique<TDlgPrint>(services, home.path(), target, month(), use, QRect(10, 10, 800, 600));
    }
    std::string stored(const char* section, const char* key) const
    {
        IniFile ini(home.file(kPrintSettingsFileName));
        ini.load();
        return ini.readString(section, key, "(missing)");
    }
};

} // namespace

TEST_F(PrintDialogFixture, ControlsShowTheStoredSettingsAndSubOptionsFollowTheirParents)
{
    home.write(kPrintSettingsFileName, "[Margin]\r\nTop=7\r\nRight=120\r\n[Option]\r\nFontSize=12\r\nOrientation=1\r\n"
                                       "Place=1\r\nToDo=0\r\nOtherMon=1\r\nSatSun=1\r\n");
    auto dialog = open();
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("印刷 - PDF"));
    EXPECT_EQ(dialog->SpinTop->value(), 7);
    EXPECT_EQ(dialog->SpinRight->value(), 99) << "clamped to the range";
    EXPECT_EQ(dialog->CmbFontSize->currentText(), "12");
    EXPECT_TRUE(dialog->RadioLandscape->isChecked());
    EXPECT_TRUE(dialog->ChkPlace->isChecked());
    EXPECT_TRUE(dialog->ChkSatSun->isChecked());
    EXPECT_FALSE(dialog->ChkTodo->isChecked());
    EXPECT_TRUE(dialog->ChkUnderline->isChecked()) << "ToDo 0 shows the underline ticked, unavailable";
    EXPECT_FALSE(dialog->ChkUnderline->isEnabled());
    EXPECT_TRUE(dialog->ChkOtherMon->isChecked());
    EXPECT_FALSE(dialog->ChkLight->isChecked());
    EXPECT_TRUE(dialog->ChkLight->isEnabled());

    QTest::mouseClick(dialog->ChkTodo, Qt::LeftButton);
    EXPECT_TRUE(dialog->ChkUnderline->isEnabled());
    QTest::mouseClick(dialog->ChkOtherMon, Qt::LeftButton);
    EXPECT_FALSE(dialog->ChkLight->isEnabled());
    const PrintSettings s = dialog->settings();
    EXPECT_EQ(s.todo, TodoPrint::Underlined);
    EXPECT_EQ(s.otherMonth, OtherMonthPrint::Hidden);
}

TEST_F(PrintDialogFixture, OkSavesTheControlsAndCancelSavesNothing)
{
    auto cancelled = open();
    QTest::mouseClick(cancelled->BtnCancel, Qt::LeftButton);
    EXPECT_EQ(cancelled->result(), QDialog::Rejected);
    EXPECT_FALSE(home.exists(kPrintSettingsFileName));

    auto dialog = open();
    dialog->CmbFontSize->setCurrentIndex(4);
    QTest::mouseClick(dialog->RadioLandscape, Qt::LeftButton);
    QTest::mouseClick(dialog->ChkUnderline, Qt::LeftButton);
    QTest::mouseClick(dialog->ChkColor, Qt::LeftButton);
    dialog->SpinLeft->setValue(35);
    dialog->CmbDate->setCurrentIndex(0);
    QTest::mouseClick(dialog->BtnOk, Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(stored("Option", "FontSize"), "12");
    EXPECT_EQ(stored("Option", "Orientation"), "1");
    EXPECT_EQ(stored("Option", "ToDo"), "1");
    EXPECT_EQ(stored("Option", "Color"), "1");
    EXPECT_EQ(stored("Margin", "Left"), "35");
    EXPECT_EQ(stored("Title", "Date"), sj("(なし)"));
}

TEST_F(PrintDialogFixture, TitleSampleFollowsThePatternTheFontAndTheColourMode)
{
    home.write(kPrintSettingsFileName, "[Title]\r\nTFont=IPAGothic,18,0,255\r\n");
    auto dialog = open();
    EXPECT_EQ(dialog->PanelTitle->text(), QString::fromUtf8("2026年5月のスケジュール"));
    EXPECT_EQ(dialog->PanelTitle->palette().color(QPalette::WindowText), QColor(Qt::black));
    QTest::mouseClick(dialog->ChkColor, Qt::LeftButton);
    EXPECT_EQ(dialog->PanelTitle->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    dialog->CmbTitle->setCurrentIndex(1);
    EXPECT_EQ(dialog->PanelTitle->text(), QString::fromUtf8("令和8年5月のスケジュール"));

    platform.fontAnswers.push_back(FontSpec{"IPAMincho", 24, FontStyle::Italic, 0});
    QTest::mouseClick(dialog->BtnFont, Qt::LeftButton);
    EXPECT_EQ(dialog->PanelTitle->font().pointSize(), 24);
    EXPECT_TRUE(dialog->PanelTitle->font().italic());
    QTest::mouseClick(dialog->BtnOk, Qt::LeftButton);
    EXPECT_EQ(stored("Title", "TFont"), "IPAMincho,24,1,255") << "the dialog has no colour; the title keeps its own";
}

TEST_F(PrintDialogFixture, WithoutAPrinterPrintingWritesThePdfTheUserNames)
{
    auto dialog = open();
    platform.fileAnswers.push_back(std::nullopt);
    QTest::mouseClick(dialog->BtnPrint, Qt::LeftButton);
    EXPECT_NE(dialog->result(), QDialog::Accepted) << "a cancelled file name leaves the dialog open";

    platform.fileAnswers.push_back(home.path() + "missing/month.pdf");
    QTest::mouseClick(dialog->BtnPrint, Qt::LeftButton);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "印刷");
    EXPECT_NE(platform.messages[0].text.find("PDFファイルを保存できません。"), std::string::npos);
    EXPECT_NE(dialog->result(), QDialog::Accepted);

    platform.fileAnswers.push_back(home.path() + "month");
    QTest::mouseClick(dialog->BtnPrint, Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(home.read("month.pdf").substr(0, 5), "%PDF-");
    EXPECT_TRUE(home.exists(kPrintSettingsFileName)) << "printing saves the settings first";
    EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(PrintDialogFixture, PreviewOpensWithoutItsSetupButtonAndTheDialogStays)
{
    auto dialog = open();
    bool setupHidden = false;
    dialogs.handlers.push_back([&](QDialog& shown) {
        auto* preview = qobject_cast<TFormPreview*>(&shown);
        setupHidden = preview && preview->BtnSetup->isHidden();
        return int(QDialog::Rejected);
    });
    QTest::mouseClick(dialog->BtnPreview, Qt::LeftButton);
    ASSERT_EQ(dialogs.shownClasses.size(), 1u);
    EXPECT_EQ(dialogs.shownClasses[0], "kal::TFormPreview");
    EXPECT_TRUE(setupHidden);
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(home.exists(kPrintSettingsFileName));

    auto settingsOnly = open(TDlgPrint::Use::SettingsOnly);
    EXPECT_TRUE(settingsOnly->BtnPrint->isHidden());
    EXPECT_TRUE(settingsOnly->BtnPreview->isHidden());
}

TEST_F(PrintDialogFixture, PrinterSetupWithoutAPrinterIsThePageSetupAndItsOrientationIsKept)
{
    auto dialog = open();
    dialogs.handlers.push_back([](QDialog& shown) {
        auto* setup = qobject_cast<QPageSetupDialog*>(&shown);
        if (!setup)
            return int(QDialog::Rejected);
        setup->printer()->setPageOrientation(QPageLayout::Landscape);
        return int(QDialog::Accepted);
    });
    QTest::mouseClick(dialog->BtnSetup, Qt::LeftButton);
    ASSERT_EQ(dialogs.shownClasses.size(), 1u);
    EXPECT_EQ(dialogs.shownClasses[0], "QPageSetupDialog");
    EXPECT_TRUE(dialog->RadioLandscape->isChecked());
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("印刷 - PDF"));
}
