#include "platform/qt/DialogRunner.h"

#include <QDialog>

namespace kal::qt {

int ExecDialogRunner::run(QDialog& dialog)
{
    return dialog.exec();
}

} // namespace kal::qt
