// The pages "データフォルダ" (the four data folders, absolute or relative to the program folder)
// and "その他" (clean-up of old files).
#pragma once

#include "app/TSetupPage.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kal {

class TSetupFolderPage : public TSetupPage {
    Q_OBJECT
public:
    TSetupFolderPage(qt::Services& services, std::string programFolder, QWidget* parent = nullptr);
    void load(const AppSettings& s) override;
    void store(AppSettings& s) const override;

    TSetupRadios* RdoPath;
    QLineEdit *EditDataPath, *EditMemoPath, *EditTodoPath, *EditNotePath;
    QPushButton *BtnSelectData, *BtnSelectMemo, *BtnSelectTodo, *BtnSelectNote;
    QLabel* PanelTable;

    bool relative() const;
    void RdoPathClick();
    void SelectFolder(int field);
    // The four fields as typed (UTF-8).
    std::vector<std::string> folderTexts() const;
    // Where the memo folder field points now.
    std::string memoFolder() const;
    // A field whose text Shift-JIS cannot hold, if any.
    QLineEdit* unstorableField() const;

private:
    std::array<QLineEdit*, 4> fields() const;
    void ShowTableFolder();

    qt::Services& services_;
    std::string programFolder_;
    bool relative_ = false;
};

class TSetupOtherPage : public TSetupPage {
    Q_OBJECT
public:
    explicit TSetupOtherPage(QWidget* parent = nullptr);
    void load(const AppSettings& s) override;
    void store(AppSettings& s) const override;
    void updateEnabled();

    QCheckBox* ChkClean;
    QComboBox* CmbCleanTerm;
};

} // namespace kal
