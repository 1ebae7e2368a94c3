#pragma once

#include <QIcon>
#include <QImage>

namespace xemap {

enum class Glyph {
    New,
    Open,
    Save,
    Export,
    Print,
    Undo,
    Redo,
    ZoomIn,
    ZoomOut,
    Refresh,
    Select,
    RotateLeft,
    RotateRight
};

// The desktop theme's icon when it has one, otherwise a drawn glyph.
QIcon toolbarIcon(const char* themeName, Glyph glyph);

// The `SELECT` glyph: a 16 x 16 arrow pointer.
QImage selectGlyph();

}  // namespace xemap
