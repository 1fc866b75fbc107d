// The CSV and iCalendar entries of the file menu: the shown month written out as CSV, a CSV file
// read in through the mapping dialog, a period written out as an .ics file and an .ics file
// read in through its dialog.
#pragma once

#include "platform/Date.h"
#include "settings/qt/PanelContext.h"

#include <QObject>

#include <functional>
#include <string>

class QAction;
class QWidget;

namespace kal::qt {

// What the exchange commands use of the calendar and the ToDo panel.
struct ExchangeLinks {
    std::function<Date()> shownMonth; // the first day of the month on screen
    std::function<Date()> today;
    std::function<void()> todoChanged; // ToDo.dat was written: the lists read it again
};

class ExchangeCommands : public QObject {
    Q_OBJECT
public:
    // Dialogs open over `window`.
    ExchangeCommands(const PanelContext& context, ExchangeLinks links, QWidget* window);

    QAction *MenuCsvRead, *MenuCsvSave, *MenuIcalSave, *MenuIcalRead;

    void MenuCsvSaveClick();
    void MenuCsvReadClick();
    void MenuIcalSaveClick();
    void MenuIcalReadClick();

private:
    void ImportCsvFile(const std::string& path);
    void ImportIcalFile(const std::string& path);

    PanelContext context_;
    ExchangeLinks links_;
    QWidget* window_;
};

} // namespace kal::qt
