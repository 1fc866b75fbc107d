#include "exchange/TDlgIcalRead.h"

#include "exchange/qt/IcalPeriod.h"
#include "exchange/qt/ImportOptionBoxes.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kal {

TDlgIcalRead::TDlgIcalRead(qt::Services& services, IcalReadSource source, QWidget* parent)
    : QDialog(parent), services_(services), source_(std::move(source))
{
    setObjectName("TDlgIcalRead");
    setWindowTitle(QString::fromUtf8(kIcalReadCaption) + " - " + qt::fromUtf8(source_.path));
    const qt::PeriodControls period =
        qt::periodControls("繰り返し予定を展開する期間(&P)", source_.today, icalDefaultPeriodEnd(source_.today), this);
    LabelPeriod = period.label;
    DtpFromDate = period.from;
    LabelTo = period.between;
    DtpToDate = period.to;
    ChkDubleNo = qt::duplicateCheckBox(this);
    ChkCategory = qt::newCategoryBox(this);
    BtnDataCheck = qt::namedButton("BtnDataCheck", "データチェック", this);
    BtnConvert = qt::namedButton("BtnConvert", "実行", this);
    BtnConvert->setDefault(true);
    CancelBtn = qt::namedButton("CancelBtn", "キャンセル", this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelPeriod);
    layout->addLayout(qt::periodRow(period));
    layout->addWidget(ChkDubleNo);
    layout->addWidget(ChkCategory);
    layout->addLayout(qt::rightAlignedRow({BtnDataCheck, BtnConvert, CancelBtn}));

    connect(BtnDataCheck, &QPushButton::clicked, this, &TDlgIcalRead::BtnDataCheckClick);
    connect(BtnConvert, &QPushButton::clicked, this, &TDlgIcalRead::BtnConvertClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    DtpFromDate->setFocus();
}

void TDlgIcalRead::BtnDataCheckClick()
{
    IcalConvert(ImportRun::Check);
}

void TDlgIcalRead::BtnConvertClick()
{
    IcalConvert(ImportRun::Execute);
}

void TDlgIcalRead::IcalConvert(ImportRun run)
{
    if (!qt::periodAccepted(services_, {LabelPeriod, DtpFromDate, LabelTo, DtpToDate}))
        return;
    IcalImportRequest request{source_.text,
                              qt::fromQDate(DtpFromDate->date()),
                              qt::fromQDate(DtpToDate->date()),
                              source_.today,
                              {ChkDubleNo->isChecked(), ChkCategory->isChecked()},
                              source_.dataPath,
                              source_.todoPath,
                              source_.programFolder};
    const IcalImportOutcome imported = runIcalImport(request, run);
    wroteFiles_ = wroteFiles_ || imported.outcome.wroteFiles;
    const ImportOutcome& outcome = imported.outcome;
    services_.platform.messageBox(kIcalReadCaption, outcome.message,
                                  outcome.ok() ? MessageIcon::Information : MessageIcon::Error, MessageButtons::Ok);
    if (outcome.ok() && run == ImportRun::Execute)
        accept();
}

} // namespace kal
