#pragma once

#include "app/XemapWindows.h"
#include "app/Xemapmain.h"
#include "support/ScriptedPrompter.h"
#include "tileset/Tilesetformmain.h"

#include <QAction>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

namespace xemap::testing {

// The windows as the program creates them, in a fresh temporary program folder.
class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        windows = std::make_unique<XemapWindows>(prompter, folder.path());
    }

    TForm1& form() { return *windows->form1; }
    TTilesetForm& palette() { return *windows->tilesetForm; }
    QToolButton* button(const char* name) { return form().findChild<QToolButton*>(name); }
    QAction* action(const char* name) { return form().findChild<QAction*>(name); }
    const MapGrid& grid() { return form().document().grid; }

    // A press, a drag over the given view pixels and a release at the last one.
    void drag(std::initializer_list<QPoint> points, Qt::KeyboardModifiers modifiers = {})
    {
        const QPoint first = *points.begin();
        form().MapBoxMouseDown(Qt::LeftButton, modifiers, first.x(), first.y());
        for (QPoint p : points)
            form().MapBoxMouseMove(modifiers, p.x(), p.y());
        const QPoint last = *(points.end() - 1);
        form().MapBoxMouseUp(Qt::LeftButton, modifiers, last.x(), last.y());
    }

    QTemporaryDir folder;
    ScriptedPrompter prompter;
    std::unique_ptr<XemapWindows> windows;
};

// The centre of cell (column, row) in view pixels at zoom 1.
inline QPoint cellCentre(int column, int row) { return {column * 20 + 10, row * 20 + 10}; }

}  // namespace xemap::testing
