// kalendra --print-pdf: the page read back with poppler's tools, and its image beside the
// preview's rendering of the same month.
#include "print/PrintFixture.h"
#include "print/TFormPreview.h"
#include "support/RunProgram.h"

#include <QImage>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <regex>

using namespace kal;
using namespace kal::test;

namespace {

struct PrintPdfFixture : PrintFixture {
    ProgramRun printPdf(const std::string& arguments) const
    {
        return runKalendra(home.path(), "--print-pdf " + arguments);
    }
};

std::size_t positionOf(const std::string& text, const std::string& utf8, std::size_t from = 0)
{
    std::size_t at = text.find(utf8, from);
    EXPECT_NE(at, std::string::npos) << utf8;
    return at;
}

// Grey levels of an image shrunk to a common size.
std::vector<int> greys(const QImage& image)
{
    const QImage small = image.convertToFormat(QImage::Format_Grayscale8)
                             .scaled(105, 148, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    std::vector<int> values;
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x)
            values.push_back(qGray(small.pixel(x, y)));
    return values;
}

double meanDifference(const std::vector<int>& a, const std::vector<int>& b)
{
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += std::abs(a[i] - b[i]);
    return sum / static_cast<double>(a.size());
}

} // namespace

TEST_F(PrintPdfFixture, OneA4PageWithTheMonthsTextsInOrder)
{
    const std::string pdf = home.path() + "month.pdf";
    ProgramRun run = printPdf("2026 05 " + pdf);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output, "") << "nothing but the reasons of failures on the streams";

    const std::string info = runProgram("pdfinfo " + pdf).output;
    EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;

    const std::string text = runProgram("pdftotext -raw " + pdf + " -").output;
    std::size_t at = positionOf(text, "2026年5月のスケジュール");
    for (const char* weekday : {"日曜日", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日"})
        at = positionOf(text, weekday, at);
    // Every day number of the grid in order, from 26 April to 6 June (start times left out).
    const std::string grid = std::regex_replace(text.substr(at), std::regex("[0-9]+:[0-9]+"), " ");
    std::vector<int> days;
    const std::regex number("[0-9]+");
    for (auto it = std::sregex_iterator(grid.begin(), grid.end(), number); it != std::sregex_iterator(); ++it)
        days.push_back(std::stoi(it->str()));
    std::vector<int> expected = {4, 26, 27, 28, 29, 30};
    for (int day = 1; day <= 31; ++day)
        expected.push_back(day);
    expected.push_back(6);
    for (int day = 1; day <= 6; ++day)
        expected.push_back(day);
    EXPECT_EQ(days, expected);

    std::size_t holiday = positionOf(text, "昭和の日");
    for (const char* name : {"憲法記念日", "みどりの日", "こどもの日", "振替休日"})
        holiday = positionOf(text, name, holiday);
    std::size_t line = positionOf(text, "みどりの日");
    for (const char* title : {"朝会", "09:30 定例会議", "13:00 打ち合わせ"})
        line = positionOf(text, title, line);
    line = positionOf(text, "18:00 夕食会", line);
    positionOf(text, "報告書の提出", line);
}

TEST_F(PrintPdfFixture, ThePageImageMatchesThePreviewLoosely)
{
    home.write(kPrintSettingsFileName, sj("[Title]\r\nDate=(なし)\r\n"));
    TFormPreview preview(services, home.path(), target, month(), TFormPreview::Opener::MainWindow, QRect());
    preview.SetZoom(100);
    const QImage shown = preview.PanelPrint->grab().toImage();

    const std::string pdf = home.path() + "month.pdf";
    ASSERT_EQ(printPdf("2026 5 " + pdf).exitCode, 0);
    const std::string png = home.path() + "page";
    ASSERT_EQ(runProgram("pdftoppm -png -singlefile -r " + std::to_string(preview.pageDpi()) + " " + pdf + " " + png)
                  .exitCode,
              0);
    const QImage printed(QString::fromStdString(png + ".png"));
    ASSERT_FALSE(printed.isNull());
    EXPECT_LE(std::abs(printed.width() - shown.width()), 1);
    EXPECT_LE(std::abs(printed.height() - shown.height()), 1);

    QImage blank(shown.size(), QImage::Format_RGB32);
    blank.fill(Qt::white);
    const double apart = meanDifference(greys(printed), greys(shown));
    const double fromBlank = meanDifference(greys(printed), greys(blank));
    EXPECT_GT(fromBlank, 4.0) << "the page is not empty";
    EXPECT_LT(apart, fromBlank / 4) << "printed and previewed pages look alike";
}

TEST_F(PrintPdfFixture, BadArgumentsAndUnwritableFilesAreRefused)
{
    ProgramRun usage = printPdf("2026 13 x.pdf");
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_NE(usage.output.find("--print-pdf YYYY MM FILE"), std::string::npos);
    EXPECT_EQ(printPdf("2026 5").exitCode, 2);

    ProgramRun failed = printPdf("2026 5 " + home.path() + "missing/x.pdf");
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.output.find("PDFファイルを保存できません"), std::string::npos) << failed.output;

    // No display is needed, whatever platform the environment names.
    ProgramRun noDisplay =
        runProgram("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb " + std::string(KALENDRA_BINARY) +
                   " --home " + home.path() + " --print-pdf 2026 5 " + home.path() + "x.pdf 2>&1");
    EXPECT_EQ(noDisplay.exitCode, 0) << noDisplay.output;
}
