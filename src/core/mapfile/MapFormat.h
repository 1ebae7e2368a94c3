#pragma once

#include "core/descriptions/RecordFields.h"

#include <string_view>

namespace xemap::mapformat {

// Lines that give a map file its structure; the format has no escapes, so the
// writer keeps text from ever reading as one of them.
inline constexpr std::string_view kTextEnd = "...";
inline constexpr std::string_view kBlockEnd = ">>>";
inline constexpr std::string_view kDoorSeparator = " : ";

// A record's first line in this section ends the section when it is the block end
// or the header of a later section.
constexpr bool endsSection(std::string_view line, int section)
{
    if (line == kBlockEnd)
        return true;
    for (int later = section + 1; later < kSectionCount; ++later)
        if (line == kSectionHeaders[later])
            return true;
    return false;
}

}  // namespace xemap::mapformat
