#pragma once

#include "core/descriptions/Xeobject.h"

namespace xemap {

struct XEEvent : XEObject {
    std::string location;
    std::string trigger;

    bool operator==(const XEEvent&) const = default;
};

}  // namespace xemap
