// The settings dialog. Its OK writes every key it owns: the stored value where the file has
// one, the value a new installation starts with otherwise.
#pragma once

#include "platform/qt/Services.h"

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;

namespace kal {

class TDlgSetup : public QDialog {
    Q_OBJECT
public:
    TDlgSetup(qt::Services& services, std::string programFolder, const QString& caption, QWidget* parent = nullptr);

    QLabel* LabelInfo;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

    void BtnOkClick();

private:
    qt::Services& services_;
    std::string programFolder_;
};

} // namespace kal
