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

// Runs dialogs through another runner and raises a flag while one is open (the main window's
// ModalDialogOpen, which keeps tray clicks away meanwhile).
class FlaggingDialogRunner : public DialogRunner {
public:
    FlaggingDialogRunner(DialogRunner& inner, bool& flag) : inner_(inner), flag_(flag) { }
    int run(QDialog& dialog) override
    {
        const bool before = flag_;
        flag_ = true;
        const int result = inner_.run(dialog);
        flag_ = before;
        return result;
    }

private:
    DialogRunner& inner_;
    bool& flag_;
};

} // namespace kal::qt
