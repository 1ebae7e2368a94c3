#include "core/document/EditorState.h"

#include "core/document/MapGrid.h"

namespace xemap {

bool EditorState::cursorInsideGrid() const { return insideGrid(cursorColumn, cursorRow); }

}  // namespace xemap
