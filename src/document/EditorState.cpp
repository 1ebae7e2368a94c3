#include "document/EditorState.h"

#include "document/MapGrid.h"

namespace xemap {

bool EditorState::cursorInsideGrid() const { return insideGrid(cursorColumn, cursorRow); }

}  // namespace xemap
