#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace xemap {

class Prompter;

// The one yes/no question of the editor. Each caller writes the question and both
// button captions, so that the buttons say what will happen.
class TYesNo : public QDialog {
public:
    // Placed once, beside the main window's top-left corner.
    explicit TYesNo(const QWidget& mainWindow);

    enum class Answer { Yes, No, Cancelled };
    // The result code of the negative button, told apart from Escape and the close box.
    static constexpr int NoResult = 2;

    // True only for the affirmative button; the other button, the close box and
    // Escape all answer no.
    bool Ask(Prompter& prompter, const QString& question, const QString& yesCaption, const QString& noCaption);
    // For questions where closing the dialog must not count as the negative button.
    Answer AskOrCancel(Prompter& prompter, const QString& question, const QString& yesCaption,
                       const QString& noCaption);

private:
    QLabel* Message = nullptr;
    QPushButton* YesButton = nullptr;
    QPushButton* NoButton = nullptr;
};

}  // namespace xemap
