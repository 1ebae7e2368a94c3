#include "gui/output/MapOutput.h"

#include "core/output/Listing.h"
#include "gui/dialogs/Prompter.h"
#include "gui/output/PrintSpooler.h"
#include "gui/output/Printconfigmain.h"
#include "render/ExportPicture.h"
#include "render/PrintPages.h"
#include "render/TextBytes.h"

#include <QDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include <optional>

namespace xemap {

namespace {

constexpr int kPdfResolution = 300;

// Export and print-to-file start where Open and Save do.
QString dialogStart(const MapOutputContext& context)
{
    return dialogFolder(QString::fromStdString(context.session.document().mapDirectory));
}

// A save dialog's answer, unless cancelled or an existing file is to be kept.
QString chooseExportFile(MapOutputContext& context, const QString& title, const QString& filter, const QString& suffix)
{
    const QString fileName = context.prompter.saveFileName({title, filter, suffix, dialogStart(context), false});
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
    const QImage picture =
        exportPicture(context.session.document(), context.state, context.tileset, context.doorGeometry, scale);
    if (picture.isNull()) {
        context.prompter.message("Not enough memory to export the map picture.");
        return;
    }
    if (const QString failure = writePicture(picture, fileName); !failure.isEmpty())
        context.prompter.message(failure);
}

void exportListing(MapOutputContext& context)
{
    const QString fileName =
        chooseExportFile(context, "Export Map Descriptions", "Text Files (*.TXT);;All Files (*.*)", "TXT");
    if (fileName.isEmpty())
        return;
    const std::string text = context.session.exportListing();
    QSaveFile file(fileName);
    // In a folder that takes no temporary file, a writable listing is rewritten in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), qint64(text.size())) != qint64(text.size())
        || !file.commit())
        context.prompter.message(QStringLiteral("Cannot write \"%1\": %2").arg(fileName, file.errorString()));
}

using DrawPages = std::function<void(QPainter&, QPrinter&)>;

// The name the queue and the printed file show: the map's name, then what is printed.
QString printJobName(const MapDocument& document, const QString& what)
{
    const QString map = document.mapName.empty() ? QStringLiteral("untitled") : displayText(document.mapName);
    return QStringLiteral("XEMap – %1 – %2").arg(map, what);
}

bool drawJob(QPrinter& printer, const DrawPages& drawPages)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    drawPages(painter, printer);
    return painter.end();
}

void reportUnprinted(MapOutputContext& context, const QString& printer, const QString& job, const QString& reason)
{
    context.prompter.message(QStringLiteral("The printer \"%1\" did not print \"%2\": %3").arg(printer, job, reason));
}

// Without a printer the pages go into a PDF file the user names, or nowhere.
void printToChosenPdf(MapOutputContext& context, const QString& what, const QString& job, const DrawPages& drawPages)
{
    const QString fileName = context.prompter.saveFileName(
        {QStringLiteral("Print %1 to PDF").arg(what), "PDF Files (*.pdf)", "pdf", dialogStart(context), true});
    if (fileName.isEmpty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(kPdfResolution);
    printer.setOutputFileName(fileName);
    printer.setDocName(job);
    if (!drawJob(printer, drawPages))
        context.prompter.message(QStringLiteral("Cannot print to \"%1\".").arg(fileName));
}

// The pages are drawn for the queue's own paper and resolution into a temporary PDF,
// which is then handed to the spooler ourselves: a refused job is reported instead
// of vanishing.
void printToQueue(MapOutputContext& context, const QPrinterInfo& queue, const QString& job, const DrawPages& drawPages)
{
    QTemporaryDir spool;
    if (!spool.isValid()) {
        reportUnprinted(context, queue.printerName(), job, QStringLiteral("no temporary folder to prepare it in."));
        return;
    }
    QPrinter printer(queue, QPrinter::HighResolution);
    if (const QPageSize paper = queue.defaultPageSize(); paper.isValid())
        printer.setPageSize(paper);
    const int resolution = printer.resolution();
    const QPageLayout layout = printer.pageLayout();
    const QString pdfFile = spool.filePath(QStringLiteral("job.pdf"));
    printer.setOutputFileName(pdfFile);
    printer.setResolution(resolution);
    printer.setPageLayout(layout);
    printer.setDocName(job);
    if (!drawJob(printer, drawPages)) {
        reportUnprinted(context, queue.printerName(), job, QStringLiteral("the pages could not be prepared."));
        return;
    }
    const QString refusal = submitPrintJob(queue.printerName(), pdfFile, job, layout.pageSize().key());
    if (!refusal.isEmpty())
        reportUnprinted(context, queue.printerName(), job, refusal);
}

// One print job on the default printer; `what` ends its name.
void runPrintJob(MapOutputContext& context, const QString& what, const DrawPages& drawPages)
{
    const QString job = printJobName(context.session.document(), what);
    const QPrinterInfo queue = QPrinterInfo::defaultPrinter();
    if (queue.isNull())
        printToChosenPdf(context, what, job, drawPages);
    else
        printToQueue(context, queue, job, drawPages);
}

void printPictureJob(MapOutputContext& context)
{
    // The printed picture is the 1280-pixel map, drawn straight from memory.
    const QImage picture = exportPicture(context.session.document(), context.state, context.tileset,
                                         context.doorGeometry, exportScale(1.0f), context.state.layerCount);
    if (picture.isNull()) {
        context.prompter.message("Not enough memory to print the map picture.");
        return;
    }
    runPrintJob(context, "Map",
                [&picture](QPainter& painter, QPrinter& printer) { printPicture(painter, picture, printer.width()); });
}

// The listing's point size, or nothing when the typed text is not one a page can take.
std::optional<int> printFontSize(const QString& typed)
{
    constexpr int kLargest = 72;
    bool whole = false;
    const int pointSize = typed.trimmed().toInt(&whole);
    if (!whole || pointSize < 1 || pointSize > kLargest)
        return std::nullopt;
    return pointSize;
}

void printListingJob(MapOutputContext& context, int pointSize)
{
    const auto lines = printListingLines(context.session.document().descriptions);
    runPrintJob(context, "Descriptions",
                [&](QPainter& painter, QPrinter& printer) { printListing(painter, printer, lines, pointSize); });
}

}  // namespace

void exportMap(MapOutputContext& context)
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

void printMap(MapOutputContext& context)
{
    TPrintConfig& dialog = context.printConfig;
    if (context.prompter.exec(dialog) != QDialog::Accepted)
        return;
    // Checked before either job, so that a refused size prints nothing at all.
    const std::optional<int> pointSize = printFontSize(dialog.fontSizeText());
    if (dialog.textChecked() && !pointSize) {
        context.prompter.message("The font size must be a whole number from 1 to 72.");
        return;
    }
    if (dialog.imageChecked())
        printPictureJob(context);
    if (dialog.textChecked())
        printListingJob(context, *pointSize);
}

}  // namespace xemap
