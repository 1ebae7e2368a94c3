#pragma once

#include "gui/dialogs/Prompter.h"

#include <QDialog>
#include <QStringList>
#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace xemap::testing {

// Answers modal questions from prepared scripts and records what was asked.
// A question without a prepared answer fails the test instead of blocking.
class ScriptedPrompter final : public Prompter {
public:
    using DialogScript = std::function<int(QDialog&)>;

    void expectDialog(DialogScript script) { dialogs_.push_back(std::move(script)); }
    void expectOpenFile(const QString& path) { openFiles_.push_back(path); }
    void expectSaveFile(const QString& path) { saveFiles_.push_back(path); }

    void message(const QString& text, const QString& informativeText = QString()) override
    {
        messages.push_back(text);
        informativeTexts.push_back(informativeText);
    }
    int exec(QDialog& dialog) override
    {
        dialogsShown.push_back(dialog.objectName());
        return next<DialogScript>(dialogs_, "modal dialog", [](QDialog&) { return int(QDialog::Rejected); })(dialog);
    }
    QString openFileName(const FileDialogRequest& request) override
    {
        fileDialogs.push_back(request);
        return next<QString>(openFiles_, "open dialog", QString());
    }
    QString saveFileName(const FileDialogRequest& request) override
    {
        fileDialogs.push_back(request);
        return next<QString>(saveFiles_, "save dialog", QString());
    }

    QStringList messages;          // texts of message boxes, in order
    QStringList informativeTexts;  // what each of them says under its text (empty when nothing)
    QStringList dialogsShown;      // object names of the windows run modally
    std::vector<FileDialogRequest> fileDialogs;

    bool allAnswersUsed() const { return dialogs_.empty() && openFiles_.empty() && saveFiles_.empty(); }

private:
    template <class T>
    static T next(std::deque<T>& queue, const char* what, T fallback)
    {
        if (queue.empty()) {
            ADD_FAILURE() << "unexpected " << what;
            return fallback;
        }
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }

    std::deque<DialogScript> dialogs_;
    std::deque<QString> openFiles_;
    std::deque<QString> saveFiles_;
};

}  // namespace xemap::testing
