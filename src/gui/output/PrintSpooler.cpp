#include "gui/output/PrintSpooler.h"

#include <cups/cups.h>

namespace xemap {

QString submitPrintJob(const QString& queue, const QString& pdfFile, const QString& jobName, const QString& media)
{
    // The page size the pages were drawn for; without it the spooler would fall back
    // to its own idea of the paper.
    const QByteArray mediaName = media.toUtf8();
    cups_option_t* options = nullptr;
    const int optionCount = cupsAddOption("media", mediaName.constData(), 0, &options);
    const int job = cupsPrintFile(queue.toLocal8Bit().constData(), pdfFile.toLocal8Bit().constData(),
                                  jobName.toUtf8().constData(), optionCount, options);
    cupsFreeOptions(optionCount, options);
    if (job > 0)
        return {};
    const QString reason = QString::fromUtf8(cupsLastErrorString());
    return reason.isEmpty() ? QStringLiteral("the printing system gave no reason") : reason;
}

}  // namespace xemap
