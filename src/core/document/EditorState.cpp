#include "core/document/EditorState.h"

#include "core/document/MapGrid.h"

namespace xemap {

bool EditorState::cursorInsideGrid() const { return insideGrid(cursorColumn, cursorRow); }

MapTool EditorState::tool() const
{
    if (connector)
        return MapTool::Connector;
    switch (editMode) {
    case TerrainDrawing: return MapTool::Terrain;
    case NormalDraw: return MapTool::Paint;
    case RegionSelection: return MapTool::SelectRegion;
    default: return MapTool::BoxFill;
    }
}

}  // namespace xemap
