#include "gui/output/MapOutput.h"

#include "core/output/Listing.h"
#include "gui/dialogs/Prompter.h"
#include "gui/output/Printconfigmain.h"
#include "render/ExportPicture.h"
#include "render/PrintPages.h"

#include <QDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

#include <memory>

namespace xemap {

namespace {

constexpr int kPdfResolution = 300;

QString mapDirectory(const MapOutputContext& context) { return QString::fromStdString(context.document.mapDirectory); }

// A save dialog's answer, unless cancelled or an existing file is to be kept.
QString chooseExportFile(MapOutputContext& context, const QString& title, const QString& filter, const QString& suffix)
{
    const QString fileName = context.prompter.saveFileName({title, filter, suffix, mapDirectory(context), false});
    if (fileName.isEmpty())
        return {};
    if (QFileInfo::exists(fileName) && !context.askYesNo("File exists.  Overwrite?", "Yes, Overwrite", "Cancel Export"))
        return {};
    return fileName;
}

void exportPicture(MapOutputContext& context)
{
    // The scale box is editable; a typed scale outside the listed ones would draw an empty
    // picture or ask for one too large to hold.
    bool isNumber = false;
    const float choice = context.printConfig.fontSizeText().trimmed().toFloat(&isNumber);
    if (!isNumber || !(choice >= 0.1f && choice <= 1.0f)) {
        context.prompter.message("The scale must be a number from 0.10 to 1.00.");
        return;
    }
    const QString fileName = chooseExportFile(context, "Export Map Image", "Bitmaps (*.BMP);;All Files (*.*)", "BMP");
    if (fileName.isEmpty())
        return;
    const float scale = exportScale(choice);
    const QImage picture = ExportPicture(context.document, context.state, context.tileset, context.doorGeometry, scale);
    if (const QString failure = WritePicture(picture, fileName); !failure.isEmpty())
        context.prompter.message(failure);
}

void exportListing(MapOutputContext& context)
{
    const QString fileName =
        chooseExportFile(context, "Export Map Descriptions", "Text Files (*.TXT);;All Files (*.*)", "TXT");
    if (fileName.isEmpty())
        return;
    const std::string text = listingText(context.document.descriptions);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), qint64(text.size())) != qint64(text.size())
        || !file.commit())
        context.prompter.message(QStringLiteral("Cannot write \"%1\": %2").arg(fileName, file.errorString()));
}

// The default printer, or a PDF file when the system has none; nothing when the
// user declines the PDF file.
std::unique_ptr<QPrinter> openPrinter(MapOutputContext& context, const QString& job)
{
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (!printerInfo.isNull())
        return std::make_unique<QPrinter>(printerInfo, QPrinter::HighResolution);
    const QString fileName = context.prompter.saveFileName(
        {QStringLiteral("%1 to PDF").arg(job), "PDF Files (*.pdf)", "pdf", mapDirectory(context), true});
    if (fileName.isEmpty())
        return nullptr;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setResolution(kPdfResolution);
    printer->setOutputFileName(fileName);
    return printer;
}

// One print job: the printer (or PDF file) is chosen, then the pages are drawn.
void runPrintJob(MapOutputContext& context, const QString& job,
                 const std::function<void(QPainter&, QPrinter&)>& drawPages)
{
    const auto printer = openPrinter(context, job);
    if (!printer)
        return;
    QPainter painter;
    if (!painter.begin(printer.get())) {
        context.prompter.message(
            QStringLiteral("Cannot print to \"%1\".")
                .arg(printer->printerName().isEmpty() ? printer->outputFileName() : printer->printerName()));
        return;
    }
    drawPages(painter, *printer);
    painter.end();
}

void printPictureJob(MapOutputContext& context)
{
    // The printed picture is the 1280-pixel map, drawn straight from memory.
    const QImage picture = ExportPicture(context.document, context.state, context.tileset, context.doorGeometry,
                                         exportScale(1.0f), context.state.layerCount);
    runPrintJob(context, "Print Map Image",
                [&picture](QPainter& painter, QPrinter& printer) { printPicture(painter, picture, printer.width()); });
}

void printListingJob(MapOutputContext& context)
{
    bool whole = false;
    const int pointSize = context.printConfig.fontSizeText().trimmed().toInt(&whole);
    if (!whole || pointSize <= 0) {
        context.prompter.message("The font size must be a whole number.");
        return;
    }
    const auto lines = printListingLines(context.document.descriptions);
    runPrintJob(context, "Print Descriptions",
                [&](QPainter& painter, QPrinter& printer) { printListing(painter, printer, lines, pointSize); });
}

}  // namespace

void Export(MapOutputContext& context)
{
    TPrintConfig& dialog = context.printConfig;
    dialog.setUpForExport();
    if (context.prompter.exec(dialog) == QDialog::Accepted) {
        if (dialog.imageChecked())
            exportPicture(context);
        if (dialog.textChecked())
            exportListing(context);
    }
    dialog.restorePrintForm();
}

void Print(MapOutputContext& context)
{
    TPrintConfig& dialog = context.printConfig;
    if (context.prompter.exec(dialog) != QDialog::Accepted)
        return;
    if (dialog.imageChecked())
        printPictureJob(context);
    if (dialog.textChecked())
        printListingJob(context);
}

}  // namespace xemap
