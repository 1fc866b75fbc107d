// The print commands of the main window: the print dialog and the preview of the displayed
// month, on the printer chosen during this run (looked for at the first print command).
#pragma once

#include "print/MonthPrint.h"
#include "settings/qt/PanelContext.h"

#include <QObject>

#include <functional>
#include <memory>

class QAction;
class QWidget;

namespace kal::qt {

class PrintTarget;

class PrintCommands : public QObject {
    Q_OBJECT
public:
    // `source` gives a copy of the displayed month as printing sees it; dialogs open over `window`.
    PrintCommands(const PanelContext& context, std::function<PrintSource()> source, QWidget* window);

    QAction *MenuPrint, *TBtnPrint, *MenuPrintPrev, *TBtnPreview;

    void CalenderPrint();
    void PrintPreview();

private:
    PrintTarget& PrintTargetNow();

    PanelContext context_;
    std::function<PrintSource()> source_;
    QWidget* window_;
    std::shared_ptr<PrintTarget> printTarget_;
};

} // namespace kal::qt
