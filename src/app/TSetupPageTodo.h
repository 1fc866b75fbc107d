// The page "ToDo": status icons and the user's own pictures for them, the warning term, the
// columns of both lists and the tab position.
#pragma once

#include "app/TSetupPage.h"

#include <QImage>

#include <array>

class QCheckBox;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace kal {

inline constexpr int kTodoIconCount = static_cast<int>(TodoIconFlags::count);

class TSetupTodoPage : public TSetupPage {
    Q_OBJECT
public:
    TSetupTodoPage(qt::Services& services, std::string programFolder, QWidget* parent = nullptr);
    void load(const AppSettings& s) override;
    void store(AppSettings& s) const override;
    void updateEnabled();

    QCheckBox* ChkTodoIcon;
    QListWidget* ListTodo;
    QPushButton *BtnIconChange, *BtnIconOrigin;
    QSpinBox* SpinWarnTerm;
    QListWidget* ListName;
    std::array<QCheckBox*, 7> ChkTi;
    QCheckBox* ChkToDoTab;

    void BtnIconChangeClick();
    void BtnIconOriginClick();
    void ListNameClick();
    // Writes the pictures chosen meanwhile and turns their SetIcon flags on, each only when its
    // file was written; gives the reason of each failure (UTF-8).
    std::vector<std::string> SaveIcons(TodoIconFlags& setIcon) const;

private:
    void ShowIcons();
    void TiClick(TodoItemFlag item);
    QCheckBox* itemBox(TodoItemFlag item) const { return ChkTi[static_cast<std::size_t>(item)]; }
    TodoItemFlags& chosenItems();

    qt::Services& services_;
    std::string programFolder_;
    std::array<bool, kTodoIconCount> custom_{}; // the icon is the user's picture
    std::array<QImage, kTodoIconCount> chosen_; // pictures chosen in this dialog, not yet written
    TodoItemFlags openItems_;
    TodoItemFlags doneItems_;
};

} // namespace kal
