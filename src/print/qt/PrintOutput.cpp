#include "print/qt/PrintOutput.h"

#include "platform/ReplaceQuestion.h"
#include "platform/qt/QtText.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

namespace kal::qt {
namespace {

constexpr int kPdfResolution = 600;
constexpr const char* kPrintCaption = "印刷";

// The busy cursor while a page is drawn.
struct BusyCursor {
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
};

std::string suggestedPdfPath(const MonthPage& page)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    const MonthLayout& month = page.source.build.layout;
    const QString name =
        QString::fromUtf8("カレンダー%1年%2月.pdf").arg(month.year).arg(month.month, 2, 10, QChar('0'));
    return toUtf8(QDir(folder).filePath(name));
}

std::string withPdfExtension(const std::string& path)
{
    return QString::fromStdString(path).endsWith(".pdf", Qt::CaseInsensitive) ? path : path + ".pdf";
}

PrintOutcome printToFile(Services& services, PrintTarget& target, const MonthPage& page)
{
    std::string path = toUtf8(target.printer().outputFileName());
    if (!target.printerInstalled() || path.empty()) {
        std::optional<std::string> chosen =
            services.platform.saveFileName("PDFファイルに保存", suggestedPdfPath(page), "PDFファイル (*.pdf)");
        if (!chosen)
            return PrintOutcome::Cancelled;
        path = withPdfExtension(*chosen);
        // Qt's print dialog asks for its own file name; this one is asked here.
        if (!AskBeforeReplacing(services.platform, kPrintCaption, path))
            return PrintOutcome::Cancelled;
    }
    files::IoResult written;
    {
        BusyCursor busy;
        written = WritePdf(path, page, target.pageLayout());
    }
    if (!written) {
        services.platform.messageBox(kPrintCaption,
                                     "PDFファイルを保存できません。\r\n" + path + "\r\n" + written.reason,
                                     MessageIcon::Error, MessageButtons::Ok);
        return PrintOutcome::Failed;
    }
    return PrintOutcome::Printed;
}

PrintOutcome printOnPrinter(Services& services, PrintTarget& target, const MonthPage& page)
{
    QPrinter& printer = target.printer();
    printer.setDocName(fromSjis(page.source.jobTitle));
    printer.setFullPage(true);
    BusyCursor busy;
    QPainter painter;
    if (!painter.begin(&printer)) {
        services.platform.messageBox(kPrintCaption, "印刷を開始できません。\r\nプリンタ: " + toUtf8(target.name()),
                                     MessageIcon::Error, MessageButtons::Ok);
        return PrintOutcome::Failed;
    }
    const double dpi = printer.resolution();
    PaintMonthPage(painter, page, target.frame(), {dpi, dpi});
    if (!painter.end()) {
        services.platform.messageBox(kPrintCaption, "印刷を終了できません。\r\nプリンタ: " + toUtf8(target.name()),
                                     MessageIcon::Error, MessageButtons::Ok);
        return PrintOutcome::Failed;
    }
    return PrintOutcome::Printed;
}

} // namespace

PrintTarget::PrintTarget(bool printerInstalled)
    : installed_(printerInstalled), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    if (!installed_) {
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setPageSize(QPageSize(QPageSize::A4));
    }
    // Positions count from the paper's corner; the margins are the page's own.
    printer_->setFullPage(true);
}

PrintTarget::~PrintTarget() = default;

bool PrintTarget::toPdf() const
{
    return !installed_ || printer_->outputFormat() == QPrinter::PdfFormat;
}

QString PrintTarget::name() const
{
    return toPdf() ? QStringLiteral("PDF") : printer_->printerName();
}

PageOrientation PrintTarget::orientation() const
{
    return printer_->pageLayout().orientation() == QPageLayout::Landscape ? PageOrientation::Landscape
                                                                          : PageOrientation::Portrait;
}

void PrintTarget::setOrientation(PageOrientation orientation)
{
    printer_->setPageOrientation(orientation == PageOrientation::Landscape ? QPageLayout::Landscape
                                                                           : QPageLayout::Portrait);
}

QPageLayout PrintTarget::pageLayout() const
{
    return printer_->pageLayout();
}

bool PrintTarget::setup(DialogRunner& dialogs, QWidget* parent)
{
    if (installed_) {
        QPrintDialog dialog(printer_.get(), parent);
        dialog.setWindowTitle(QString::fromUtf8("プリンタの設定"));
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        return dialogs.run(dialog) == QDialog::Accepted;
    }
    QPageSetupDialog dialog(printer_.get(), parent);
    dialog.setWindowTitle(QString::fromUtf8("ページの設定"));
    return dialogs.run(dialog) == QDialog::Accepted;
}

std::optional<QByteArray> RenderPdf(const MonthPage& page, const QPageLayout& paper)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setTitle(fromSjis(page.title));
        writer.setCreator(QStringLiteral("Kalendra"));
        const QPageLayout layout(paper.pageSize(), paper.orientation(), QMarginsF(), QPageLayout::Millimeter);
        writer.setPageLayout(layout);
        QPainter painter;
        if (!painter.begin(&writer))
            return std::nullopt;
        PaintMonthPage(painter, page, FrameOf(layout), {kPdfResolution, kPdfResolution});
        if (!painter.end())
            return std::nullopt;
    }
    return bytes;
}

files::IoResult WritePdf(const std::string& path, const MonthPage& page, const QPageLayout& paper, files::FileOps& ops)
{
    std::optional<QByteArray> pdf = RenderPdf(page, paper);
    if (!pdf)
        return files::IoResult::failure("PDFを作成できません。");
    // Nothing of ours reads a PDF back, so the data files' limit is not its.
    return files::saveBytesWithin(path, pdf->toStdString(), SIZE_MAX, ops);
}

PrintOutcome PrintPage(Services& services, PrintTarget& target, const MonthPage& page)
{
    return target.toPdf() ? printToFile(services, target, page) : printOnPrinter(services, target, page);
}

} // namespace kal::qt
