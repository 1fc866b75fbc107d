// Where printed pages go: the printer chosen in the printer setup or, when no printer is
// installed or the setup chose a file, a PDF file written atomically.
#pragma once

#include "platform/Files.h"
#include "platform/qt/Services.h"
#include "print/MonthPrint.h"
#include "print/PageLayout.h"
#include "print/qt/MonthPagePainter.h"

#include <QPageLayout>
#include <QString>

#include <memory>
#include <optional>

class QPrinter;
class QWidget;

namespace kal::qt {

// The printer of the run, kept by the main window so that a choice made in the setup holds
// until the program ends.
class PrintTarget {
public:
    explicit PrintTarget(bool printerInstalled);
    ~PrintTarget();
    PrintTarget(const PrintTarget&) = delete;
    PrintTarget& operator=(const PrintTarget&) = delete;

    bool printerInstalled() const { return installed_; }
    // Pages go into a PDF file rather than to a printer.
    bool toPdf() const;
    // The printer's name, or "PDF" when pages go into a file.
    QString name() const;

    PageOrientation orientation() const;
    void setOrientation(PageOrientation orientation);
    QPageLayout pageLayout() const;
    PageFrame frame() const { return FrameOf(pageLayout()); }
    QPrinter& printer() { return *printer_; }

    // The printer setup: the print dialog (printer, paper, orientation) when a printer is
    // installed, the page setup (paper, orientation) for PDF output. True after OK.
    bool setup(DialogRunner& dialogs, QWidget* parent);

private:
    bool installed_;
    std::unique_ptr<QPrinter> printer_;
};

// The page as a one-page PDF of the given paper; nothing when the PDF cannot be made.
std::optional<QByteArray> RenderPdf(const MonthPage& page, const QPageLayout& paper);
files::IoResult WritePdf(const std::string& path, const MonthPage& page, const QPageLayout& paper,
                         files::FileOps& ops = files::systemFileOps());

enum class PrintOutcome { Printed, Cancelled, Failed };

// Prints the page on the target as a job named after the program; for PDF output it asks for
// the file name first. Failures are reported in a message box.
PrintOutcome PrintPage(Services& services, PrintTarget& target, const MonthPage& page);

} // namespace kal::qt
