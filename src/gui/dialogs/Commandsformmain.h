#pragma once

#include <QString>
#include <QWidget>

#include <array>
#include <string_view>

class QLabel;

namespace xemap {

struct CommandHelpRow {
    std::string_view command;
    std::string_view binding;
};

// What the commands help lists, row by row; display text only.
extern const std::array<CommandHelpRow, 25> kCommandHelpRows;

// The non-modal commands help: shown from the Help menu, hidden with its button,
// and shown again as it was left. A window of its owner, so that it never keeps the
// program running once the main window has closed.
// Its label names the manual; the tooltip gives the manual's full path and a click opens it.
class TCommandsForm : public QWidget {
public:
    explicit TCommandsForm(const QString& manualPath, QWidget* owner = nullptr);

    void Label1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString manualPath_;
    QLabel* Label1 = nullptr;
};

}  // namespace xemap
