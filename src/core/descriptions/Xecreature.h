#pragma once

#include "core/descriptions/Xeobject.h"

namespace xemap {

struct XECreature : XEObject {
    std::string type;
    std::string weapon;
    std::string armor;

    bool operator==(const XECreature&) const = default;
};

}  // namespace xemap
