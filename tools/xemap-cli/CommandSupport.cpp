#include "Commands.h"

#include "core/files/AllocationLimit.h"
#include "core/mapfile/SafeSave.h"
#include "core/text/TextLines.h"
#include "core/tileset/Registry.h"

#include <algorithm>
#include <iostream>

namespace xemap::cli {

int runCommand(int (*run)(const Invocation&), const Invocation& invocation, int troubleStatus)
{
    try {
        return run(invocation);
    } catch (const std::bad_alloc&) {
        // Outputs are written through temporary files, so nothing half written is left.
        std::cerr << "xemap-cli: " << outOfMemory("run the command").describe() << '\n';
        return troubleStatus;
    }
}

std::optional<RegisteredTileset> registryEntry(const RegistryFolders& registries, int index, const std::string& mapFile)
{
    auto lookup = registeredTileset(registries, static_cast<std::size_t>(std::max(index, 0)));
    if (!lookup) {
        std::cerr << lookup.fault().describe() << '\n';
        return std::nullopt;
    }
    if (index < 0 || !*lookup) {
        std::cerr << printableText(mapFile) << ": tileset " << index << " is not in the registry of "
                  << printableText(registries.program.string());
        if (!registries.user.empty())
            std::cerr << " or of " << printableText(registries.user.string());
        std::cerr << '\n';
        return std::nullopt;
    }
    return std::move(*lookup);
}

std::optional<LoadedMap> readInputMap(const Invocation& invocation, const std::string& fileName)
{
    const auto first = registryEntry(invocation.registries, 0, fileName);
    if (!first)
        return std::nullopt;
    ReadOptions options;
    options.layerCount = cellLayerCount(first->entry);
    auto result = readMapFile(fileName, options);
    if (!result.ok()) {
        std::cerr << result.fault().describe() << '\n';
        return std::nullopt;
    }
    return std::move(result).value();
}

void printSkippedLines(std::ostream& out, const std::string& fileName, const LoadedMap& map, std::string_view lead)
{
    for (const auto& skipped : map.skipped)
        out << printableText(fileName) << ": line " << skipped.line << ": " << lead << "skipped line '"
            << printableText(skipped.text) << "'\n";
}

std::optional<MapDocument> readCleanMap(const Invocation& invocation, const std::string& fileName)
{
    auto map = readInputMap(invocation, fileName);
    if (!map)
        return std::nullopt;
    if (!map->skipped.empty()) {
        printSkippedLines(std::cerr, fileName, *map, "");
        return std::nullopt;
    }
    return std::move(map->document);
}

bool writeOutputFile(const std::string& fileName, std::string_view bytes)
{
    const Result<void> written = saveFileSafely(fileName, bytes);
    if (!written)
        std::cerr << written.fault().describe() << '\n';
    return written.ok();
}

int usageError(std::string_view usage)
{
    std::cerr << "usage: xemap-cli " << usage << '\n';
    return kFailure;
}

std::optional<FileArguments> splitFileArguments(const Invocation& invocation,
                                                std::initializer_list<std::string_view> valueOptions)
{
    FileArguments split{{}, {}, invocation.registries, {}};
    std::vector<std::string> files;
    const auto& args = invocation.arguments;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool takesValue =
            args[i] == "--tiles" || std::find(valueOptions.begin(), valueOptions.end(), args[i]) != valueOptions.end();
        if (!takesValue) {
            files.push_back(args[i]);
        } else if (i + 1 == args.size()) {
            return std::nullopt;
        } else if (args[i] == "--tiles") {
            split.tiles = {args[++i], {}};
        } else {
            split.options.emplace_back(args[i], args[i + 1]);
            ++i;
        }
    }
    if (files.size() != 2)
        return std::nullopt;
    split.in = files[0];
    split.out = files[1];
    return split;
}

}  // namespace xemap::cli
