#pragma once

#include <QWidget>

#include <array>
#include <string_view>

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
class TCommandsForm : public QWidget {
public:
    explicit TCommandsForm(QWidget* owner = nullptr);
};

}  // namespace xemap
