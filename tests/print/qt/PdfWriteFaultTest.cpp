// Writing the month as a PDF with each step of the file layer failed in turn: the old file
// stays, no temporary file is left and the reason names the error.
#include "print/PrintFixture.h"
#include "print/PrintSettings.h"
#include "support/WriterFaults.h"

#include <QPageLayout>
#include <QPageSize>

using namespace kal;
using namespace kal::test;

TEST_F(PrintFixture, PdfOutputFailsCleanlyAtEveryStep)
{
    const MonthPage page = ComposeMonthPage(month(), LoadPrintSettings(home.path()));
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    const std::vector<Writer> pdf = {
        {"PDF output", [](const TempFolder& dir) { dir.write("month.pdf", "%PDF-old"); },
         [&](const TempFolder& dir, files::FileOps& ops) {
             files::IoResult written = qt::WritePdf(dir.file("month.pdf"), page, a4, ops);
             return written ? std::string() : written.reason;
         }},
    };
    reportInjected(failEveryStep(pdf));
}
