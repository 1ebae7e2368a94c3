#include "support/ScriptedPrompter.h"

#include <QDialog>
#include <gtest/gtest.h>

namespace xemap::testing {

namespace {

template <class T>
T takeFront(std::deque<T>& queue, const char* what, T fallback)
{
    if (queue.empty()) {
        ADD_FAILURE() << "unexpected " << what;
        return fallback;
    }
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

}  // namespace

void ScriptedPrompter::message(const QString& text, const QString& informativeText)
{
    messages.push_back(text);
    informativeTexts.push_back(informativeText);
}

int ScriptedPrompter::exec(QDialog& dialog)
{
    dialogsShown.push_back(dialog.objectName());
    return takeFront<DialogScript>(dialogs_, "modal dialog", [](QDialog&) { return int(QDialog::Rejected); })(dialog);
}

QString ScriptedPrompter::openFileName(const FileDialogRequest& request)
{
    fileDialogs.push_back(request);
    return takeFront<QString>(openFiles_, "open dialog", QString());
}

QString ScriptedPrompter::saveFileName(const FileDialogRequest& request)
{
    fileDialogs.push_back(request);
    return takeFront<QString>(saveFiles_, "save dialog", QString());
}

bool ScriptedPrompter::allAnswersUsed() const { return dialogs_.empty() && openFiles_.empty() && saveFiles_.empty(); }

}  // namespace xemap::testing
