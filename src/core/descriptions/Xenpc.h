#pragma once

#include "core/descriptions/Xeobject.h"

namespace xemap {

struct XENPC : XEObject {
    std::string align;
    std::string race;
    std::string npcClass;

    bool operator==(const XENPC&) const = default;
};

}  // namespace xemap
