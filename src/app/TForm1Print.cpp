// The print commands of the main window: the print dialog and the preview of the displayed
// month, on the printer chosen during this run.
#include "app/TForm1.h"

#include "print/MonthPrint.h"
#include "print/TDlgPrint.h"
#include "print/TFormPreview.h"
#include "print/qt/PrintOutput.h"

#include <QAction>

namespace kal {

void TForm1::ConnectPrintCommands()
{
    for (QAction* a : {MenuPrint, TBtnPrint}) {
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, &TForm1::CalenderPrint);
    }
    for (QAction* a : {MenuPrintPrev, TBtnPreview}) {
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, &TForm1::PrintPreview);
    }
}

qt::PrintTarget& TForm1::PrintTargetNow()
{
    // Looking for printers can take a moment, so it waits for the first print command.
    if (!printTarget_)
        printTarget_ = std::make_shared<qt::PrintTarget>(services_.platform.printerInstalled());
    return *printTarget_;
}

PrintSource TForm1::PrintSourceNow() const
{
    return MakePrintSource(build_, categories_, settings_, state_.today);
}

void TForm1::CalenderPrint()
{
    state_.modalDialogOpen = true;
    TDlgPrint dialog(services_, programFolder_, PrintTargetNow(), PrintSourceNow(), TDlgPrint::Use::PrintAndPreview,
                     geometry(), this);
    services_.dialogs.run(dialog);
    state_.modalDialogOpen = false;
}

void TForm1::PrintPreview()
{
    state_.modalDialogOpen = true;
    TFormPreview preview(services_, programFolder_, PrintTargetNow(), PrintSourceNow(),
                         TFormPreview::Opener::MainWindow, geometry(), this);
    services_.dialogs.run(preview);
    state_.modalDialogOpen = false;
}

} // namespace kal
