#include "gui/dialogs/Yesnomain.h"

#include "gui/dialogs/DialogControls.h"
#include "gui/dialogs/Prompter.h"

#include <QLabel>
#include <QPushButton>

namespace xemap {

namespace {

constexpr int kWidth = 532;
constexpr int kHeight = 163;
constexpr QPoint kOffsetFromMainWindow{200, 200};

}  // namespace

TYesNo::TYesNo(const QWidget& mainWindow)
{
    setObjectName("YesNo");
    setWindowTitle("YesNo");
    setFixedSize(kWidth, kHeight);
    move(mainWindow.pos() + kOffsetFromMainWindow);

    Message = new QLabel("Please Confirm this action.", this);
    Message->setObjectName("Message");
    Message->setGeometry(0, 16, kWidth, 72);
    Message->setAlignment(Qt::AlignCenter);
    Message->setWordWrap(true);
    QFont font("Arial");
    font.setPixelSize(19);
    font.setBold(true);
    Message->setFont(font);

    NoButton = addButton(this, "NoButton", "No", {40, 104, 170, 33});
    YesButton = addButton(this, "YesButton", "Yes", {kWidth - 40 - 170, 104, 170, 33});
    // Enter must not answer a question by itself.
    NoButton->setAutoDefault(false);
    YesButton->setAutoDefault(false);
    connect(NoButton, &QPushButton::clicked, this, [this] { done(NoResult); });
    connect(YesButton, &QPushButton::clicked, this, &QDialog::accept);
}

bool TYesNo::Ask(Prompter& prompter, const QString& question, const QString& yesCaption, const QString& noCaption)
{
    return AskOrCancel(prompter, question, yesCaption, noCaption) == Answer::Yes;
}

TYesNo::Answer TYesNo::AskOrCancel(Prompter& prompter, const QString& question, const QString& yesCaption,
                                   const QString& noCaption)
{
    Message->setText(question);
    YesButton->setText(yesCaption);
    NoButton->setText(noCaption);
    switch (prompter.exec(*this)) {
    case QDialog::Accepted: return Answer::Yes;
    case NoResult: return Answer::No;
    default: return Answer::Cancelled;
    }
}

}  // namespace xemap
