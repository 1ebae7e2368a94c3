#include "Commands.h"

#include "core/compare/ShowMap.h"

#include <iostream>

namespace xemap::cli {

int runShow(const Invocation& invocation)
{
    if (invocation.arguments.size() != 1) {
        usageError("show MAP.xem");
        return kTrouble;
    }
    const auto document = readCleanMap(invocation, invocation.arguments[0]);
    if (!document)
        return kTrouble;
    std::cout << showMap(*document);
    return std::cout.flush() ? kSuccess : kTrouble;
}

}  // namespace xemap::cli
