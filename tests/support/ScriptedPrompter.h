#pragma once

#include "gui/dialogs/Prompter.h"

#include <QStringList>

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

    void message(const QString& text, const QString& informativeText = QString()) override;
    int exec(QDialog& dialog) override;
    QString openFileName(const FileDialogRequest& request) override;
    QString saveFileName(const FileDialogRequest& request) override;

    QStringList messages;          // texts of message boxes, in order
    QStringList informativeTexts;  // what each of them says under its text (empty when nothing)
    QStringList dialogsShown;      // object names of the windows run modally
    std::vector<FileDialogRequest> fileDialogs;

    bool allAnswersUsed() const;

private:
    std::deque<DialogScript> dialogs_;
    std::deque<QString> openFiles_;
    std::deque<QString> saveFiles_;
};

}  // namespace xemap::testing
