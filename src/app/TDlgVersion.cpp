#include "app/TDlgVersion.h"

#include "platform/DateFormat.h"
#include "platform/Files.h"
#include "platform/qt/QtText.h"
#include "platform/qt/ResourceIcon.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kal {

namespace {

constexpr const char* kCaption = "バージョン情報";
constexpr int kIconSize = 48;

QString linkText(const char* address)
{
    QString url = QString::fromLatin1(address);
    return QString("<a href=\"%1\">%1</a>").arg(url.toHtmlEscaped());
}

} // namespace

std::string versionLine(const std::optional<DateTime>& programModified)
{
    std::string line = "Version 3.01.";
    if (programModified)
        line += text::formatDate("yymmdd", programModified->date);
    return line;
}

TDlgVersion::TDlgVersion(qt::Services& services, QWidget* parent) : QDialog(parent), services_(services)
{
    setObjectName("TDlgVersion");
    setWindowTitle(QString::fromUtf8(kCaption));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setModal(true);

    ProgramIcon = new QLabel(this);
    ProgramIcon->setObjectName("ProgramIcon");
    ProgramIcon->setPixmap(qt::resourceIcon("program").pixmap(kIconSize, kIconSize));
    ProductName = new QLabel("Kalendra", this);
    ProductName->setObjectName("ProductName");
    QFont nameFont = ProductName->font();
    nameFont.setBold(true);
    nameFont.setPointSize(nameFont.pointSize() + 4);
    ProductName->setFont(nameFont);
    std::string programPath = qt::toUtf8(QCoreApplication::applicationFilePath());
    Version = new QLabel(qt::fromUtf8(versionLine(files::modificationTime(programPath))), this);
    Version->setObjectName("Version");
    Copyright = new QLabel("Copyright (C) Kalendra developers", this);
    Copyright->setObjectName("Copyright");
    LabelUrl = new QLabel(linkText(kHomePage), this);
    LabelUrl->setObjectName("LabelUrl");
    LabelUrl->setTextFormat(Qt::RichText);
    LabelUrl->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    LabelUrl->setOpenExternalLinks(false);
    BtnOk = new QPushButton("OK", this);
    BtnOk->setObjectName("BtnOk");
    BtnOk->setDefault(true);

    auto* texts = new QVBoxLayout;
    for (QLabel* label : {ProductName, Version, Copyright, LabelUrl})
        texts->addWidget(label);
    auto* top = new QHBoxLayout;
    top->addWidget(ProgramIcon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(LabelUrl, &QLabel::linkActivated, this, &TDlgVersion::LabelUrlClick);
    connect(BtnOk, &QPushButton::clicked, this, &TDlgVersion::BtnOkClick);
}

void TDlgVersion::LabelUrlClick()
{
    if (services_.platform.shellOpen(kHomePage))
        return;
    std::string text = std::string("ホームページを開けませんでした。\r\n") + kHomePage;
    services_.platform.messageBox(kCaption, text, MessageIcon::Warning, MessageButtons::Ok);
}

void TDlgVersion::BtnOkClick()
{
    accept();
}

void TDlgVersion::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

} // namespace kal
