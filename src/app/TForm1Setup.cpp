// The settings dialog: from the settings command, the first run and a version change; after OK
// the changed settings reach every panel.
#include "app/Startup.h"
#include "app/TDlgSetup.h"
#include "app/TForm1.h"
#include "platform/qt/Widgets.h"

#include <QGuiApplication>
#include <QScreen>

namespace kal {

using namespace startup_text;

namespace {

constexpr const char* kSettingsCaption = "環境設定";

SetupPosition positionOnScreen(const QPoint& topLeft, const QScreen* screen)
{
    const QSize size = screen ? screen->size() : QSize();
    return SetupPosition{topLeft.y(), topLeft.x(), size.width(), size.height()};
}

} // namespace

bool TForm1::RunSetupDialog(const char* caption, SetupPlacement placement)
{
    // The normal window's place, also while it is minimised, maximised or a mini calendar.
    const bool normalShown = isVisible() && !isMinimized() && !isMaximized() && !miniMode_;
    const QPoint topLeft = placement == SetupPlacement::FirstRun ? QPoint(16, 24)
                           : normalShown                         ? frameGeometry().topLeft()
                                                                 : QPoint(normal_.left, normal_.top);
    const QScreen* screen = isVisible() ? this->screen() : QGuiApplication::primaryScreen();
    QWidget* parent = placement == SetupPlacement::FirstRun ? nullptr : this;
    TDlgSetup dialog(services_, programFolder_, QString::fromUtf8(caption), parent, positionOnScreen(topLeft, screen));
    dialog.adjustSize();
    if (placement == SetupPlacement::BelowWindow && isVisible()) {
        dialog.move(qt::keptOnScreen(QRect(frameGeometry().topLeft() + QPoint(16, 24), dialog.size()), this).topLeft());
    } else if (screen) {
        QRect centred(QPoint(), dialog.size());
        centred.moveCenter(screen->availableGeometry().center());
        dialog.move(centred.topLeft());
    }
    state_.modalDialogOpen = true;
    const bool accepted = services_.dialogs.run(dialog) == QDialog::Accepted;
    state_.modalDialogOpen = false;
    return accepted;
}

void TForm1::ShowDlgSetup()
{
    if (!RunSetupDialog(kSettingsCaption, SetupPlacement::BelowWindow))
        return;
    ApplySettings();
}

void TForm1::RunVersionSetup()
{
    if (!RunSetupDialog(kVersionSetupCaption, SetupPlacement::Centred)) {
        services_.platform.messageBox(kVersionWarningCaption, kVersionWarningText, MessageIcon::Warning,
                                      MessageButtons::Ok);
        return;
    }
    ApplySettings();
}

void TForm1::ApplySettings()
{
    state_.versionChanged = false;
    // The ticks belong to the lists as they were loaded: they go to that folder's ToDo.dat before
    // the folders are read again.
    PanelTodo->WriteBack();
    // Widths the user set since the start reach the file only at exit; the reload keeps them.
    const std::array<std::optional<int>, 3> dayWidths = DayList->DayColumnWidths();
    const qt::TodoColumnWidths todoWidths = PanelTodo->ColumnWidths();
    if (!InitLoad())
        return;
    int* const dayFields[3] = {&settings_.schWidth, &settings_.plcWidth, &settings_.catWidth};
    for (std::size_t i = 0; i < dayWidths.size(); ++i)
        *dayFields[i] = dayWidths[i].value_or(*dayFields[i]);
    settings_.tNoWidth = todoWidths.openTitle.value_or(settings_.tNoWidth);
    settings_.tOkWidth = todoWidths.doneTitle.value_or(settings_.tOkWidth);
    settings_.nPrWidth = todoWidths.openPriority.value_or(settings_.nPrWidth);
    settings_.oPrWidth = todoWidths.donePriority.value_or(settings_.oPrWidth);
    DayList->ListCreate();
    PanelTodo->TodoListCreate();
    PanelTodo->ToDoEdit();
    InitSet();
    BarCheck();
    Calendar->ApplyViewLooks();
    // The translucency follows at once while the mini calendar is shown.
    setWindowOpacity(miniMode_ ? settings_.miniOpacity() / 255.0 : 1.0);
    Feeds->OpenFeeds();
}

} // namespace kal
