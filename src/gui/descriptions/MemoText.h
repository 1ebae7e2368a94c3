#pragma once

#include "core/descriptions/Xeobject.h"

class QPlainTextEdit;

namespace xemap {

// A memo shows lines of a description's text; its lines are stored back only when the
// user edited it, so that text the user did not touch is never rewritten.
void showMemo(QPlainTextEdit* memo, const StringList& lines);
// The lines to store for a memo last shown with `shown`.
StringList memoLines(const QPlainTextEdit* memo, const StringList& shown);

}  // namespace xemap
