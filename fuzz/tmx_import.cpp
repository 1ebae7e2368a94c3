// Reads arbitrary bytes as a TMX map to import. Whatever import takes must come back the
// same when written as TMX and imported again, with every tileset layer a sheet.
#include "core/mapfile/MapWriter.h"
#include "core/mapfile/TmxWriter.h"
#include "render/TmxReader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

const std::vector<xemap::TmxTileSheet> kSheets{
    {0, "s0.bmp"}, {1, "s1.bmp"}, {2, "s2.bmp"}, {3, "s3.bmp"}, {4, "s4.bmp"}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto document = xemap::importTmxText(bytes, "fuzz.tmx");
    if (!document.ok()) {
        require(!document.fault().reason.empty());
        return 0;
    }
    // Cell layers above the layer count go through properties.
    const int layerCount = static_cast<int>(size % 6) + 1;
    const auto again = xemap::importTmxText(xemap::writeTmx(*document, layerCount, kSheets), "again.tmx");
    require(again.ok() && xemap::writeMap(*again) == xemap::writeMap(*document));
    return 0;
}
