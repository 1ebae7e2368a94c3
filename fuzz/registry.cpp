// Reads arbitrary bytes as a tileset registry and resolves every layer file it names.
#include "core/tileset/Registry.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const auto& entry : xemap::parseRegistry(bytes)) {
        if (xemap::cellLayerCount(entry) < 2 || xemap::cellLayerCount(entry) > 6)
            __builtin_trap();
        for (const auto& file : entry.layerFiles)
            xemap::resolveTilesetPath("/program", file);
        xemap::registryEntryText(entry);
    }
    return 0;
}
