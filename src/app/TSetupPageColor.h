// The page "色とフォント": the 21 colour items with their sample, named colour sets, the six
// fonts, and a sample calendar that shows them together.
#pragma once

#include "app/TSetupPage.h"
#include "settings/ColorSets.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace kal {

class TSetupColorPage : public TSetupPage {
    Q_OBJECT
public:
    TSetupColorPage(qt::Services& services, std::string programFolder, QWidget* parent = nullptr);
    void load(const AppSettings& s) override;
    void store(AppSettings& s) const override;

    QComboBox* CmbSetcol;
    QPushButton *BtnSavecol, *BtnDelcol;
    QListWidget* ListColor;
    QPushButton *BtnFontCol, *BtnBackCol;
    QListWidget* ListFont;
    QLabel* PanelFont;
    QPushButton* BtnFont;
    QTableWidget* GridSample;

    void BtnSavecolClick();
    void CmbSetcolChange();
    void BtnDelcolClick();
    void ListColorClick();
    void BtnFontColClick();
    void BtnBackColClick();
    void ListFontClick();
    void BtnFontClick();
    void GridSampleClick(int row, int column);
    // The sample follows the weekday names and rokuyo chosen on the other pages.
    void SetSampleOptions(bool dateJap, const RokuyoFlags& rikuyo);

    const ColorTable& colors() const { return colors_; }
    const FontSpec& font(int item) const { return fonts_[static_cast<std::size_t>(item)]; }

private:
    void ListSets(const std::string& select);
    void DrawColors();
    void DrawSample();
    void ShowFontPanel();
    ColorPair& chosenColor();
    void ShowFailure(const std::string& text);

    qt::Services& services_;
    std::string programFolder_;
    ColorTable colors_{};
    std::array<FontSpec, FontItemCount> fonts_;
    bool dateJap_ = true;
    RokuyoFlags rikuyo_;
};

} // namespace kal
