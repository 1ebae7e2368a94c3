// Reads arbitrary bytes as a map file, layered or single-layer. The upgrade question
// comes exactly for single-layer maps. Whatever the reader accepts must write out
// and read back to the same map, and write out to the same bytes again.
#include "core/mapfile/MapReader.h"
#include "core/mapfile/MapWriter.h"
#include "core/output/Listing.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

bool sameMap(const xemap::MapDocument& a, const xemap::MapDocument& b)
{
    if (a.mapName != b.mapName || a.tilesetIndex != b.tilesetIndex || !(a.grid == b.grid)
        || a.descriptions.size() != b.descriptions.size())
        return false;
    for (int i = 0; i < a.descriptions.size(); ++i)
        if (!sameContents(*a.descriptions.at(i), *b.descriptions.at(i)))
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    xemap::ReadOptions options;
    options.layerCount = static_cast<int>(size % 8) - 1;  // out-of-range counts too
    // Some single-layer maps are left alone: the whole read is then refused.
    bool asked = false;
    options.confirmUpgrade = [&asked, size] {
        asked = true;
        return size % 5 != 0;
    };
    auto result = xemap::readMap(bytes, options);
    if (!result.ok()) {
        require(asked == (result.fault().kind == xemap::Fault::Kind::Declined));
        return 0;
    }
    require(asked == result->singleLayer);
    auto& document = result->document;
    const std::string written = xemap::writeMap(document);
    const auto again = xemap::readMap(written);
    require(again.ok() && !again->singleLayer && again->skipped.empty());
    require(sameMap(document, again->document));
    require(xemap::writeMap(again->document) == written);
    xemap::listingText(document.descriptions);
    return 0;
}
