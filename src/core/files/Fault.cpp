#include "core/files/Fault.h"

#include "core/text/TextLines.h"

#include <cstring>

namespace xemap {

std::string Fault::describe() const
{
    std::string text;
    if (!file.empty())
        text = printableText(file) + ": ";
    if (line > 0)
        text += "line " + std::to_string(line) + ": ";
    return text + printableText(reason);
}

std::string systemReason(int error) { return std::strerror(error); }

Fault systemFault(Fault::Kind kind, std::string file, int error)
{
    return {kind, std::move(file), 0, systemReason(error)};
}

}  // namespace xemap
