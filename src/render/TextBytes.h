#pragma once

#include <QString>

#include <string>

namespace xemap {

// Stored text is bytes. Windows show bytes that form valid UTF-8 as UTF-8 and any
// other text as Latin-1, so that every byte shows as some character.
QString displayText(const std::string& bytes);

// The bytes to store for text shown by displayText: UTF-8, or Latin-1 when the
// original was shown as Latin-1 and every character still fits it.
std::string storedBytes(const QString& text, const std::string& original = {});

}  // namespace xemap
