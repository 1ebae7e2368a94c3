#include "Commands.h"

#include "core/files/ReadFile.h"
#include "core/mapfile/MapWriter.h"
#include "render/TmxReader.h"

#include <iostream>

namespace xemap::cli {

int runImport(const Invocation& invocation)
{
    if (invocation.arguments.size() != 2)
        return usageError("import IN.tmx OUT.xem");
    const std::string& in = invocation.arguments[0];
    auto text = readFile(in, kTmxFileLimit);
    if (!text) {
        std::cerr << text.fault().describe() << '\n';
        return kRefused;
    }
    const auto document = importTmxText(*text, in);
    if (!document) {
        std::cerr << document.fault().describe() << '\n';
        return kRefused;
    }
    return writeOutputFile(invocation.arguments[1], writeMap(*document)) ? kSuccess : kRefused;
}

}  // namespace xemap::cli
