#include "Commands.h"

#include "core/output/Listing.h"

namespace xemap::cli {

int runListing(const Invocation& invocation)
{
    if (invocation.arguments.size() != 2)
        return usageError("listing IN.xem OUT.txt");
    auto map = readInputMap(invocation, invocation.arguments[0]);
    if (!map)
        return kFailure;
    return writeOutputFile(invocation.arguments[1], listingText(map->document.descriptions)) ? kSuccess : kFailure;
}

}  // namespace xemap::cli
