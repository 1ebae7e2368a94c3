#include "dialogs/Prompter.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace xemap {

namespace {

QString runFileDialog(const FileDialogSpec& spec, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(QApplication::activeWindow(), spec.title, spec.directory, spec.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(spec.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !spec.confirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

void QtPrompter::message(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

int QtPrompter::exec(QDialog& dialog) { return dialog.exec(); }

QString QtPrompter::openFileName(const FileDialogSpec& spec)
{
    return runFileDialog(spec, QFileDialog::AcceptOpen);
}

QString QtPrompter::saveFileName(const FileDialogSpec& spec)
{
    return runFileDialog(spec, QFileDialog::AcceptSave);
}

bool QtPrompter::choosePrinter(QPrinter& printer)
{
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace xemap
