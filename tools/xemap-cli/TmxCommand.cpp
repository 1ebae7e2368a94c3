#include "Commands.h"

#include "core/mapfile/TmxWriter.h"
#include "core/text/TextLines.h"
#include "core/tileset/Registry.h"

#include <iostream>

namespace xemap::cli {

namespace {

constexpr std::string_view kTmxUsage = "tmx IN.xem OUT.tmx [--tiles DIR]";

// The tileset's sheets, named relative to the folder of the TMX file; nothing (and
// the reason printed) when a sheet file is missing or is not a regular file.
std::optional<std::vector<TmxTileSheet>> sheetsOf(const RegisteredTileset& tileset, const FileArguments& request)
{
    namespace fs = std::filesystem;
    const fs::path outFolder = fs::absolute(request.out).parent_path();
    std::vector<TmxTileSheet> sheets;
    for (int layer = 0; layer < kRegistryLayerFiles; ++layer) {
        const std::string& stored = tileset.entry.layerFiles[layer];
        if (stored == kNullLayerFile)
            continue;
        const fs::path file = fs::absolute(resolveTilesetPath(tileset.folder, stored));
        std::error_code error;
        const fs::file_status status = fs::status(file, error);
        if (!fs::is_regular_file(status)) {
            std::cerr << printableText(file.string())
                      << (fs::exists(status) ? ": not a regular file\n" : ": the tile sheet is missing\n");
            return std::nullopt;
        }
        sheets.push_back({layer, file.lexically_relative(outFolder).generic_string()});
    }
    return sheets;
}

}  // namespace

int runTmx(const Invocation& invocation)
{
    const auto request = splitFileArguments(invocation, {});
    if (!request)
        return usageError(kTmxUsage);
    const auto map = readInputMap({request->tiles, {}}, request->in);
    if (!map)
        return kFailure;
    const MapDocument& document = map->document;
    const auto tileset = registryEntry(request->tiles, document.tilesetIndex, request->in);
    if (!tileset)
        return kFailure;
    const auto sheets = sheetsOf(*tileset, *request);
    if (!sheets)
        return kFailure;
    return writeOutputFile(request->out, writeTmx(document, cellLayerCount(tileset->entry), *sheets)) ? kSuccess
                                                                                                      : kFailure;
}

}  // namespace xemap::cli
