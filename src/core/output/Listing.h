#pragma once

#include "core/descriptions/DescriptionList.h"

#include <string>
#include <vector>

namespace xemap {

// The description listing, one string per line, in list order; an item without a value
// is listed with "0 gp".
std::vector<std::string> listingLines(const DescriptionList& descriptions);

// The listing as file text: every line, the last one too, ends in CRLF.
std::string listingText(const DescriptionList& descriptions);

// The export writes that "0 gp" into the items themselves, as it always has; the change is
// shared with every description holding the item.
void giveItemsTheListedValue(DescriptionList& descriptions);

}  // namespace xemap
