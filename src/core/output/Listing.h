#pragma once

#include "core/descriptions/DescriptionList.h"

#include <string>
#include <vector>

namespace xemap {

// The description listing, one string per line, in list order. An item without a
// value is given "0 gp" in the document first, as the export has always done;
// that change is shared with every description holding the item.
std::vector<std::string> listingLines(DescriptionList& descriptions);

// The listing as file text: every line, the last one too, ends in CRLF.
std::string listingText(DescriptionList& descriptions);

}  // namespace xemap
