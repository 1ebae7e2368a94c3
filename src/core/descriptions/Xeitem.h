#pragma once

#include "core/descriptions/Xeobject.h"

namespace xemap {

struct XEItem : XEObject {
    std::string value;
    bool moveable = false;

    bool operator==(const XEItem&) const = default;
};

}  // namespace xemap
