#include "Commands.h"

#include "core/text/TextLines.h"

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
    for (const auto& skipped : map->skipped)
        std::cout << printableText(fileName) << ": line " << skipped.line << ": warning: skipped line '"
                  << printableText(skipped.text) << "'\n";
    return map->skipped.empty() ? kSuccess : kWarnings;
}

}  // namespace xemap::cli
