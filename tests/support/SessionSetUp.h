#pragma once

#include "core/editing/EditSession.h"

namespace xemap {

// A test's way to lay out the map a session edits, as no command would.
struct SessionSetUp {
    static MapDocument& document(EditSession& session) { return session.document_; }
};

inline MapDocument& mapToSetUp(EditSession& session) { return SessionSetUp::document(session); }

}  // namespace xemap
