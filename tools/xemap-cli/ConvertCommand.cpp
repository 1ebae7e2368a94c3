#include "Commands.h"

#include "core/mapfile/MapWriter.h"

namespace xemap::cli {

int runConvert(const Invocation& invocation)
{
    if (invocation.arguments.size() != 2)
        return usageError("convert IN.xem OUT.xem");
    const auto map = readInputMap(invocation, invocation.arguments[0]);
    if (!map)
        return kFailure;
    return writeOutputFile(invocation.arguments[1], writeMap(map->document)) ? kSuccess : kFailure;
}

}  // namespace xemap::cli
