#include "Commands.h"

#include "core/mapfile/SafeSave.h"
#include "core/tileset/Registry.h"

#include <iostream>

namespace xemap::cli {

std::optional<LoadedMap> readInputMap(const Invocation& invocation, const std::string& fileName)
{
    const auto registry = registryOrDefault(invocation.programDir);
    ReadOptions options;
    options.layerCount = cellLayerCount(registry.front());
    auto result = readMapFile(fileName, options);
    if (!result.ok()) {
        std::cerr << describeReadError(fileName, result.error) << '\n';
        return std::nullopt;
    }
    return std::move(result.map);
}

bool writeOutputFile(const std::string& fileName, std::string_view bytes)
{
    if (saveFileSafely(fileName, bytes))
        return true;
    std::cerr << fileName << ": cannot write the file\n";
    return false;
}

int usageError(std::string_view usage)
{
    std::cerr << "usage: xemap-cli " << usage << '\n';
    return kFailure;
}

}  // namespace xemap::cli
