#pragma once

#include <QString>

namespace xemap {

// Hands a finished PDF to the printing system as one named job on the queue.
// Returns an empty string when the job was taken, otherwise the spooler's reason,
// so that a refused job is never lost in silence.
QString submitPrintJob(const QString& queue, const QString& pdfFile, const QString& jobName, const QString& media);

}  // namespace xemap
