// Runs the program's modal dialogs without an event loop: each handler in turn receives the
// dialog, fills it and presses its buttons, and returns the dialog's result.
#pragma once

#include "platform/qt/DialogRunner.h"

#include <QDialog>
#include <QString>

#include <deque>
#include <functional>
#include <vector>

namespace kal::test {

class FakeDialogRunner : public qt::DialogRunner {
public:
    using Handler = std::function<int(QDialog&)>;

    int run(QDialog& dialog) override;

    // With no handler left a dialog is cancelled.
    std::deque<Handler> handlers;
    std::vector<QString> shownTitles;
    std::vector<QString> shownClasses;
};

} // namespace kal::test
