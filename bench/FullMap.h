#pragma once

#include "core/document/MapDocument.h"

namespace xemap {

// Every cell layer painted, doors on every fourth cell, 200 descriptions with records.
MapDocument fullMap();

}  // namespace xemap
