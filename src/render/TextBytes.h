#pragma once

#include <QString>

#include <string>

namespace xemap {

// The field's bytes as text, in the form textFormOf gives them.
QString displayText(const std::string& bytes);

// The bytes to store for text shown by displayText: UTF-8, or Latin-1 when the
// original was shown as Latin-1 and every character still fits it.
std::string storedBytes(const QString& text, const std::string& original = {});

}  // namespace xemap
