#include "support/FakeDialogRunner.h"

namespace kal::test {

int FakeDialogRunner::run(QDialog& dialog)
{
    shownTitles.push_back(dialog.windowTitle());
    shownClasses.push_back(QString::fromLatin1(dialog.metaObject()->className()));
    if (handlers.empty())
        return QDialog::Rejected;
    Handler handler = std::move(handlers.front());
    handlers.pop_front();
    return handler(dialog);
}

} // namespace kal::test
