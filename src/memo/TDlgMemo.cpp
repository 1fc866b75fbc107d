#include "memo/TDlgMemo.h"

#include "memo/DayMemo.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

namespace kal {

TDlgMemo::TDlgMemo(qt::Services& services, MemoEditorTarget target, QWidget* parent)
    : QDialog(parent), services_(services), target_(std::move(target)), file_(MemoEditorFile(target_))
{
    setObjectName("TDlgMemo");
    setWindowTitle(qt::fromUtf8(MemoEditorCaption(target_)));
    MemoDay = new QPlainTextEdit(this);
    MemoDay->setObjectName("MemoDay");
    MemoDay->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoDay->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoDay->setTabChangesFocus(true);
    BtnOk = qt::namedButton("BtnOk", "OK", this);
    BtnCancel = qt::namedButton("BtnCancel", "キャンセル", this);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(7);
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 7);
    layout->addWidget(MemoDay, 1);
    layout->addLayout(buttons);
    resize(340, 300);

    connect(BtnOk, &QPushButton::clicked, this, &TDlgMemo::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    FormShow();
}

void TDlgMemo::FormShow()
{
    // Every line ends with its break, as in the file, so a last empty line survives the round trip.
    QString text;
    for (const std::string& line : MemoEditorStartLines(target_))
        text += qt::fromSjis(line) + '\n';
    MemoDay->setPlainText(text);
    MemoDay->setFocus();
}

std::optional<std::vector<std::string>> TDlgMemo::EditedLines()
{
    std::vector<std::string> lines;
    for (QTextBlock block = MemoDay->document()->begin(); block.isValid(); block = block.next()) {
        std::optional<std::string> line = qt::toSjis(block.text());
        if (!line) {
            services_.platform.messageBox("入力エラー",
                                          "保存できない文字が含まれています。\r\n" +
                                              std::to_string(block.blockNumber() + 1) + "行目を直して下さい。",
                                          MessageIcon::Error, MessageButtons::Ok);
            QTextCursor cursor(block);
            MemoDay->setTextCursor(cursor);
            MemoDay->setFocus();
            return std::nullopt;
        }
        lines.push_back(std::move(*line));
    }
    // A closing line break ends the last line; it does not start another.
    if (lines.size() > 1 && lines.back().empty())
        lines.pop_back();
    return lines;
}

void TDlgMemo::BtnOkClick()
{
    std::optional<std::vector<std::string>> lines = EditedLines();
    if (!lines)
        return;
    if (files::IoResult saved = SaveMemoFile(file_, *lines); !saved) {
        services_.platform.messageBox(qt::toUtf8(windowTitle()), "保存できません。\r\n" + saved.reason,
                                      MessageIcon::Error, MessageButtons::Ok);
        return;
    }
    accept();
}

} // namespace kal
