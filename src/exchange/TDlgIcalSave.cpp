#include "exchange/TDlgIcalSave.h"

#include "exchange/CsvExport.h"
#include "exchange/qt/IcalPeriod.h"
#include "platform/qt/Widgets.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kal {

TDlgIcalSave::TDlgIcalSave(qt::Services& services, IcalSaveSource source, QWidget* parent)
    : QDialog(parent), services_(services), source_(std::move(source))
{
    setObjectName("TDlgIcalSave");
    setWindowTitle(QString::fromUtf8(kIcalSaveCaption));
    const qt::PeriodControls period = qt::periodControls("保存する期間(&P)", source_.from, source_.to, this);
    LabelPeriod = period.label;
    DtpFromDate = period.from;
    LabelTo = period.between;
    DtpToDate = period.to;
    ChkTodo = qt::named(new QCheckBox(QString::fromUtf8("ToDoも保存する。(&T)"), this), "ChkTodo");
    ChkTodo->setChecked(true);
    BtnOk = qt::namedButton("BtnOk", "保存", this);
    BtnOk->setDefault(true);
    BtnCancel = qt::namedButton("BtnCancel", "キャンセル", this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelPeriod);
    layout->addLayout(qt::periodRow(period));
    layout->addWidget(ChkTodo);
    layout->addLayout(qt::rightAlignedRow({BtnOk, BtnCancel}));

    connect(BtnOk, &QPushButton::clicked, this, &TDlgIcalSave::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    DtpFromDate->setFocus();
}

void TDlgIcalSave::BtnOkClick()
{
    if (!qt::periodAccepted(services_, {LabelPeriod, DtpFromDate, LabelTo, DtpToDate}))
        return;
    const IcalExportRequest request{source_.dataPath,
                                    source_.todoPath,
                                    qt::fromQDate(DtpFromDate->date()),
                                    qt::fromQDate(DtpToDate->date()),
                                    ChkTodo->isChecked(),
                                    source_.alarmMinutes,
                                    source_.programFolder};
    const std::optional<std::string> path =
        askExportPath(services_.platform, kIcalSaveCaption, source_.dataPath, icalFileName(request.from, request.to),
                      "iCalendar (*.ics);;すべてのファイル (*)");
    if (!path)
        return;
    const IcalExportResult exported = exportIcal(request, *path);
    if (!exported.ok) {
        services_.platform.messageBox(kIcalSaveCaption, exported.message, MessageIcon::Error, MessageButtons::Ok);
        return;
    }
    services_.platform.messageBox(kIcalSaveCaption, exported.message, MessageIcon::Information, MessageButtons::Ok);
    accept();
}

} // namespace kal
