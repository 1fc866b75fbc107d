// Every modal dialog of the program is shown through a DialogRunner, so tests can fill and
// confirm a dialog instead of blocking in its event loop.
#pragma once

class QDialog;

namespace kal::qt {

class DialogRunner {
public:
    virtual ~DialogRunner() = default;
    // QDialog::Accepted or QDialog::Rejected.
    virtual int run(QDialog& dialog) = 0;
};

class ExecDialogRunner : public DialogRunner {
public:
    int run(QDialog& dialog) override;
};

} // namespace kal::qt
