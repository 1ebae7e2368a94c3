#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;

namespace xemap {

// Print Configuration: what to print and the listing's font size. The export
// borrows it, relabelled, and gives it back in its print form.
class TPrintConfig : public QDialog {
    Q_OBJECT

public:
    explicit TPrintConfig(QWidget* mainWindow);

    void setUpForExport();
    void restorePrintForm();

    bool imageChecked() const;
    bool textChecked() const;
    QString fontSizeText() const;

    QCheckBox* PrintImage = nullptr;
    QCheckBox* PrintText = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* FontSize = nullptr;

private:
    void PrintTextClick(bool checked);
    void setForm(const QString& caption, const QString& image, const QString& text, const QString& label,
                 const QStringList& items, int selected, bool fieldEnabled);
};

}  // namespace xemap
