#pragma once

#include "core/descriptions/Xeobject.h"

namespace xemap {

// The inherited script is never edited nor stored for portals; it stays empty.
struct XEPortal : XEObject {
    std::string location;
    std::string targetMap;
    std::string targetTile;
    std::string restrictions;

    bool operator==(const XEPortal&) const = default;
};

}  // namespace xemap
