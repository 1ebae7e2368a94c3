#pragma once

#include "core/document/EditorState.h"
#include "core/editing/EditSession.h"
#include "render/DoorGeometry.h"

#include <QString>

#include <functional>

namespace xemap {

class Prompter;
class TPrintConfig;
class Tileset;

// What File > Export and File > Print read and ask through.
struct MapOutputContext {
    // The map to write out; the listing's export goes through it (it may give items a value).
    EditSession& session;
    const EditorState& state;
    const Tileset& tileset;
    const DoorGeometry& doorGeometry;
    Prompter& prompter;
    TPrintConfig& printConfig;
    // The confirmation dialog: true for the affirmative answer.
    std::function<bool(const QString& question, const QString& yes, const QString& no)> askYesNo;
};

// The picture at the chosen scale and the description listing, each to a file the
// user chooses; an existing file is replaced only once the new one is complete.
void exportMap(MapOutputContext& context);

// The picture and the listing as two print jobs on the default printer, on its own
// default paper and named for the map; a job the printer refuses is reported. When the
// system has no printer they go into PDF files the user names.
void printMap(MapOutputContext& context);

}  // namespace xemap
