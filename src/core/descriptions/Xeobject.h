#pragma once

#include <string>
#include <vector>

namespace xemap {

// Free text as one string per line, without line ends.
using StringList = std::vector<std::string>;

// Common fields of the five record kinds; records are plain data shared by descriptions.
struct XEObject {
    std::string name;
    std::string script;
    StringList text;

    bool operator==(const XEObject&) const = default;
};

}  // namespace xemap
