// The CSV import dialog ("CSV形式の読込"): maps the columns of a CSV file onto the six schedule
// fields while browsing its lines, runs the data check, and executes the import. Only the
// execute run writes (month files and Category.tbl).
#pragma once

#include "exchange/CsvImport.h"
#include "platform/qt/Services.h"

#include <QDialog>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace kal {

struct CsvImportSource {
    std::string path;               // UTF-8, shown in the caption
    std::vector<std::string> lines; // the file's lines as read
    std::string dataPath;           // month files, ends with '/'
    std::string programFolder;      // Category.tbl, ends with '/'
};

class TDlgCsvToSch : public QDialog {
    Q_OBJECT
public:
    TDlgCsvToSch(qt::Services& services, CsvImportSource source, QWidget* parent = nullptr);

    QLabel* LabelCsvToSch;
    QListWidget* ListCsvToSch; // the six targets
    QLabel* LabelCsvItem;
    QListWidget* ListCsvItem; // the columns of the line shown
    QPushButton* BtnLeft;
    QPushButton* BtnAllLeft;
    QPushButton* BtnRight;
    QPushButton* BtnAllRight;
    QPushButton* BtnBefore;
    QPushButton* BtnNext;
    QCheckBox* Chk1stHeader;
    QCheckBox* ChkDubleNo;
    QCheckBox* ChkCategory;
    QPushButton* BtnDataCheck;
    QPushButton* BtnConvert;
    QPushButton* CancelBtn;

    void FormShow();
    void BtnLeftClick();
    void BtnAllLeftClick();
    void BtnRightClick();
    void BtnAllRightClick();
    void BtnBeforeClick();
    void BtnNextClick();
    void BtnDataCheckClick();
    void BtnConvertClick();

    int browsePosition() const { return position_; } // 1-based
    const CsvMapping& mapping() const { return mapping_; }
    // Some file was written, also when the import then failed: the opener shows the new data.
    bool wroteFiles() const { return wroteFiles_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void layOutControls();
    void connectControls();

    void ShowLine();
    void MappingChanged();
    void OptionChanged();
    void CsvConvert(ImportRun run);
    CsvImportRequest request() const;

    qt::Services& services_;
    CsvImportSource source_;
    CsvMapping mapping_;
    std::vector<std::string> shownColumns_;
    int position_ = 1;
    int widest_ = 0; // the most columns of a line seen while browsing
    bool wroteFiles_ = false;
    bool centred_ = false;
};

} // namespace kal
