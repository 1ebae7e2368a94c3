#include "Commands.h"

#include <iostream>

namespace xemap::cli {

int runCheck(const Invocation& invocation)
{
    if (invocation.arguments.size() != 1)
        return usageError("check IN.xem");
    const std::string& fileName = invocation.arguments[0];
    const auto map = readInputMap(invocation, fileName);
    if (!map)
        return kFailure;
    printSkippedLines(std::cout, fileName, *map, "warning: ");
    return map->skipped.empty() ? kSuccess : kWarnings;
}

}  // namespace xemap::cli
