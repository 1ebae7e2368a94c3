#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;

namespace xemap {

class Prompter;

// Asks for the name of a map that has none; the last name typed stays for the next use.
class TGetMapName : public QDialog {
public:
    explicit TGetMapName(const QWidget& mainWindow);

    // The name typed, or nothing when the dialog was cancelled.
    std::optional<QString> Ask(Prompter& prompter);

private:
    QLineEdit* MapName = nullptr;
};

}  // namespace xemap
