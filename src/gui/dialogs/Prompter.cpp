#include "gui/dialogs/Prompter.h"

#include "core/tileset/Registry.h"
#include "render/TextBytes.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

namespace xemap {

namespace {

QString runFileDialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.directory, request.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

QString dialogFolder(const QString& wanted)
{
    if (!wanted.isEmpty() && QFileInfo(wanted).isDir() && isUsersOwnFolder(wanted.toStdString()))
        return wanted;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QDir().mkpath(documents);
    return documents;
}

void Prompter::report(const QString& text, const Fault& fault) { message(text, displayText(fault.describe())); }

void QtPrompter::message(const QString& text, const QString& informativeText)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setInformativeText(informativeText);
    // Wide enough that a path and its reason read as a line or two, not a column of words.
    if (!informativeText.isEmpty())
        box.setStyleSheet("QLabel#qt_msgbox_informativelabel { min-width: 30em; }");
    box.exec();
}

int QtPrompter::exec(QDialog& dialog) { return dialog.exec(); }

QString QtPrompter::openFileName(const FileDialogRequest& request)
{
    return runFileDialog(request, QFileDialog::AcceptOpen);
}

QString QtPrompter::saveFileName(const FileDialogRequest& request)
{
    return runFileDialog(request, QFileDialog::AcceptSave);
}

}  // namespace xemap
