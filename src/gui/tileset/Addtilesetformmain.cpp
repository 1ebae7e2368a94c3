#include "gui/tileset/Addtilesetformmain.h"

#include "core/tileset/Registry.h"
#include "gui/dialogs/DialogControls.h"
#include "gui/dialogs/Prompter.h"
#include "gui/dialogs/Yesnomain.h"
#include "render/ImageFile.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

namespace xemap {

namespace {

constexpr int kSheetSize = 802;
constexpr int kRowTops[kRegistryLayerFiles] = {40, 72, 104, 136, 168};
constexpr const char* kLayerCaptions[kRegistryLayerFiles] = {
    "Base Layer:", "Layer 1:", "Layer 2:", "Layer 3:", "Layer 4:"};
const QString kWrongSize = "The specified Bitmap is not 802 x 802 pixels.  Proceed anyway?";

QLabel* addBoldLabel(QWidget* parent, const QString& name, const QString& text, QRect place)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(place);
    QFont font("Arial");
    font.setBold(true);
    label->setFont(font);
    return label;
}

// A line break in a name would split the six-line registry entry and shift every
// entry after it.
std::string registryLine(const QString& text)
{
    QString line = text;
    line.replace('\r', ' ').replace('\n', ' ');
    return line.toStdString();
}

}  // namespace

TAddTilesetForm::TAddTilesetForm(Prompter& prompter, TYesNo& yesNo, const QString& programDirectory,
                                 const QString& namesFolder)
    : prompter_(prompter), yesNo_(yesNo), namesFolder_(namesFolder), browseFolder_(programDirectory)
{
    setObjectName("AddTilesetForm");
    setWindowTitle("Add Tileset...");
    setFixedSize(440, 722);

    QLabel* nameLabel = addBoldLabel(this, "Label1", "Tileset name:", {10, 16, 95, 18});
    nameLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    NameText = new QLineEdit(this);
    NameText->setObjectName("NameText");
    NameText->setGeometry(112, 16, 313, 21);

    auto* files = new QGroupBox("Bitmap Filenames", this);
    files->setObjectName("GroupBox1");
    files->setGeometry(8, 48, 417, 201);
    auto* hint = new QLabel("Leave unused layers Blank", files);
    hint->setObjectName("Label7");
    hint->move(120, 16);
    for (int layer = 0; layer < kRegistryLayerFiles; ++layer) {
        const int top = kRowTops[layer];
        addBoldLabel(files, QString("Label%1").arg(layer + 2), kLayerCaptions[layer],
                     {layer == 0 ? 16 : 40, top, 88, 21});
        QLineEdit*& box = fileNameTexts_[layer];
        box = new QLineEdit(files);
        box->setObjectName(QString("FileName%1Text").arg(layer));
        box->setGeometry(104, top, 201, 21);
        connect(box, &QLineEdit::textChanged, this, [this, layer] { FileNameChange(layer); });
        QPushButton* browse = addButton(files, QString("Button%1").arg(layer + 1), "Browse", {312, top, 65, 25});
        connect(browse, &QPushButton::clicked, this, [this, layer] { BrowseClick(layer); });
    }

    auto* preview = new QGroupBox("Preview", this);
    preview->setObjectName("GroupBox3");
    preview->setGeometry(8, 256, 417, 425);
    PreviewBox = new QLabel(preview);
    PreviewBox->setObjectName("PreviewBox");
    PreviewBox->setGeometry(8, 16, 401, 401);
    PreviewBox->setScaledContents(true);

    QPushButton* ok = addButton(this, "OkButton", "OK", {344, 688, 75, 25});
    QPushButton* cancel = addButton(this, "CancelButton", "Cancel", {256, 688, 75, 25});
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<TilesetEntry> TAddTilesetForm::Ask()
{
    if (prompter_.exec(*this) != QDialog::Accepted)
        return std::nullopt;
    TilesetEntry added = entry();
    clearBoxes();
    return added;
}

TilesetEntry TAddTilesetForm::entry() const
{
    TilesetEntry added;
    added.name = registryLine(NameText->text());
    for (int layer = 0; layer < kRegistryLayerFiles; ++layer) {
        const QString file = fileNameTexts_[layer]->text();
        added.layerFiles[layer] = file.isEmpty() ? std::string(kNullLayerFile) : registryLine(file);
    }
    return added;
}

void TAddTilesetForm::clearBoxes()
{
    NameText->clear();
    for (QLineEdit* box : fileNameTexts_)
        box->clear();
}

void TAddTilesetForm::BrowseClick(int layer)
{
    const QString path = prompter_.openFileName(
        {"Choose a Bitmap", "Bitmaps (*.bmp);;All Files (*)", QString(), dialogFolder(browseFolder_)});
    if (path.isEmpty())
        return;
    browseFolder_ = QFileInfo(path).absolutePath();
    fileNameTexts_[layer]->setText(path);
}

void TAddTilesetForm::FileNameChange(int layer)
{
    QLineEdit* box = fileNameTexts_[layer];
    const QString typed = box->text();
    // Found as the tileset loader will find it: relative to the entry's folder, backslashes as separators.
    const std::filesystem::path path = resolveTilesetPath(namesFolder_.toStdString(), typed.toStdString());
    std::error_code missing;
    if (typed.isEmpty() || !std::filesystem::exists(path, missing)) {
        if (!typed.isEmpty())
            prompter_.message("No such file");
        return;
    }
    // Read as the loader reads a sheet: this runs on every keystroke, so a pipe or a
    // device typed here is refused at once, and a huge file unread.
    const auto bitmap = readImageFile(path, kSheetFileLimit, kLargestSheetPixels);
    if (!bitmap) {
        prompter_.message(QString("Cannot read %1 as a bitmap.").arg(QString::fromStdString(path.string())),
                          QString::fromStdString(bitmap.fault().reason));
        return;
    }
    if (bitmap->size() != QSize(kSheetSize, kSheetSize) && !yesNo_.Ask(prompter_, kWrongSize, "Yes", "No")) {
        box->clear();
        return;
    }
    preview_ = *bitmap;
    PreviewBox->setPixmap(QPixmap::fromImage(preview_));
}

}  // namespace xemap
