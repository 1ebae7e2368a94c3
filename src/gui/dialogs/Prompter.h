#pragma once

#include "core/files/Fault.h"

#include <QString>

class QDialog;

namespace xemap {

struct FileDialogRequest {
    QString title;
    QString filter;         // Qt filter form, e.g. "XEMap File (*.xem);;All Files (*.*)"
    QString defaultSuffix;  // appended to a name typed without an extension
    QString directory;
    bool confirmOverwrite = false;
};

// Where a file dialog starts: the folder asked for when the user keeps files there,
// otherwise the user's documents folder (made if missing), never a shared program folder.
QString dialogFolder(const QString& wanted);

// Every modal question and message goes through here, so that window tests can
// script the answers instead of blocking on a dialog.
class Prompter {
public:
    virtual ~Prompter() = default;

    // A plain message box with one OK button; the informative text, shown under the
    // message, says which file and why.
    virtual void message(const QString& text, const QString& informativeText = QString()) = 0;
    // The message with the fault's file, line and reason as its informative text.
    void report(const QString& text, const Fault& fault);
    // Runs one of the program's own modal windows and returns its result code.
    virtual int exec(QDialog& dialog) = 0;
    // The chosen path, or an empty string when the dialog was cancelled.
    virtual QString openFileName(const FileDialogRequest& request) = 0;
    virtual QString saveFileName(const FileDialogRequest& request) = 0;
};

class QtPrompter final : public Prompter {
public:
    void message(const QString& text, const QString& informativeText = QString()) override;
    int exec(QDialog& dialog) override;
    QString openFileName(const FileDialogRequest& request) override;
    QString saveFileName(const FileDialogRequest& request) override;
};

}  // namespace xemap
