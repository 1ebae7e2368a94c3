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

    // True only for the affirmative button; the other button, the close box and
    // Escape all answer no.
    bool Ask(Prompter& prompter, const QString& question, const QString& yesCaption, const QString& noCaption);

    // For questions where Escape and the close box mean "not now" rather than no.
    enum class Answer { Yes, No, Cancel };
    static constexpr int NoResult = 2;
    Answer AskOrCancel(Prompter& prompter, const QString& question, const QString& yesCaption,
                       const QString& noCaption);

private:
    QLabel* Message = nullptr;
    QPushButton* YesButton = nullptr;
    QPushButton* NoButton = nullptr;
};

}  // namespace xemap
