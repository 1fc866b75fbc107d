#include "platform/qt/DialogRunner.h"

#include "platform/qt/Widgets.h"

#include <QDialog>

namespace kal::qt {

int ExecDialogRunner::run(QDialog& dialog)
{
    fitCaption(dialog);
    return dialog.exec();
}

} // namespace kal::qt
