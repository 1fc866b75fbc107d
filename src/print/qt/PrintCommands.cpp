#include "print/qt/PrintCommands.h"

#include "platform/qt/Widgets.h"
#include "print/TDlgPrint.h"
#include "print/TFormPreview.h"
#include "print/qt/PrintOutput.h"

#include <QAction>

namespace kal::qt {

PrintCommands::PrintCommands(const PanelContext& context, std::function<PrintSource()> source, QWidget* window)
    : QObject(window), context_(context), source_(std::move(source)), window_(window)
{
    MenuPrint = namedAction(this, "MenuPrint", "カレンダーの印刷(&P)");
    TBtnPrint = toolAction(this, "TBtnPrint", "月間カレンダーの印刷", "tb-print");
    MenuPrintPrev = namedAction(this, "MenuPrintPrev", "印刷プレビュー(&V)");
    TBtnPreview = toolAction(this, "TBtnPreview", "印刷プレビュー", "tb-preview");
    for (QAction* a : {MenuPrint, TBtnPrint})
        connect(a, &QAction::triggered, this, &PrintCommands::CalenderPrint);
    for (QAction* a : {MenuPrintPrev, TBtnPreview})
        connect(a, &QAction::triggered, this, &PrintCommands::PrintPreview);
}

PrintTarget& PrintCommands::PrintTargetNow()
{
    // Looking for printers can take a moment, so it waits for the first print command.
    if (!printTarget_)
        printTarget_ = std::make_shared<PrintTarget>(context_.services.platform.printerInstalled());
    return *printTarget_;
}

void PrintCommands::CalenderPrint()
{
    TDlgPrint dialog(context_.services, context_.programFolder, PrintTargetNow(), source_(),
                     TDlgPrint::Use::PrintAndPreview, window_->geometry(), window_);
    context_.services.dialogs.run(dialog);
}

void PrintCommands::PrintPreview()
{
    TFormPreview preview(context_.services, context_.programFolder, PrintTargetNow(), source_(),
                         TFormPreview::Opener::MainWindow, window_->geometry(), window_);
    context_.services.dialogs.run(preview);
}

} // namespace kal::qt
