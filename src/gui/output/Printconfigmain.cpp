#include "gui/output/Printconfigmain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

namespace xemap {

TPrintConfig::TPrintConfig(QWidget* mainWindow) : QDialog(mainWindow)
{
    setObjectName("TPrintConfig");
    setModal(true);
    PrintImage = new QCheckBox(this);
    PrintImage->setObjectName("PrintImage");
    PrintText = new QCheckBox(this);
    PrintText->setObjectName("PrintText");
    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    FontSize = new QComboBox(this);
    FontSize->setObjectName("FontSize");
    FontSize->setEditable(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(PrintText, &QCheckBox::clicked, this, &TPrintConfig::PrintTextClick);

    auto* layout = new QGridLayout(this);
    layout->addWidget(PrintImage, 0, 0, 1, 2);
    layout->addWidget(PrintText, 1, 0, 1, 2);
    layout->addWidget(Label1, 2, 0);
    layout->addWidget(FontSize, 2, 1);
    layout->addWidget(buttons, 3, 0, 1, 2);
    restorePrintForm();
    if (mainWindow)
        move(mainWindow->pos() + QPoint(200, 200));
}

void TPrintConfig::setForm(const QString& caption, const QString& image, const QString& text, const QString& label,
                           const QStringList& items, int selected, bool fieldEnabled)
{
    setWindowTitle(caption);
    PrintImage->setText(image);
    PrintText->setText(text);
    Label1->setText(label);
    PrintImage->setChecked(false);
    PrintText->setChecked(false);
    FontSize->clear();
    FontSize->addItems(items);
    FontSize->setCurrentIndex(selected);
    Label1->setEnabled(fieldEnabled);
    FontSize->setEnabled(fieldEnabled);
}

void TPrintConfig::setUpForExport()
{
    setForm("Export Configuration", "Export Map Image", "Export Descriptions",
            "Scale image:", {"1.00", "0.50", "0.25", "0.10"}, 1, true);
}

void TPrintConfig::restorePrintForm()
{
    setForm("Print Configuration", "Print Map Image", "Print Descriptions", "Font size:", {"8", "10", "12", "14"}, 1,
            false);
}

void TPrintConfig::PrintTextClick(bool checked)
{
    Label1->setEnabled(checked);
    FontSize->setEnabled(checked);
}

bool TPrintConfig::imageChecked() const { return PrintImage->isChecked(); }
bool TPrintConfig::textChecked() const { return PrintText->isChecked(); }
QString TPrintConfig::fontSizeText() const { return FontSize->currentText(); }

}  // namespace xemap
