// The map view never shows anything but the map: after every command, each pixel
// outside the cursor cell and the region outline is what a fresh redraw gives.
#include "gui/app/MapView.h"
#include "gui/descriptions/Tiledescmain.h"
#include "support/MainWindowTestSupport.h"

#include <random>

using namespace xemap;
using namespace xemap::testing;

namespace {

class ScreenTest : public MainWindowFixture {
protected:
    // What a fresh renderer draws for the same document and view.
    QImage freshPicture()
    {
        MapRenderer fresh(form().document(), form().state(), palette().tileset());
        if (geometryIndex_)
            fresh.applyDoorGeometry(*geometryIndex_);
        fresh.redrawAll();
        return fresh.mapImage();
    }

    // The view rectangles the cursor preview and the region outline may cover.
    std::vector<QRect> allowedRects()
    {
        const EditorState& state = form().state();
        std::vector<QRect> rects;
        const int size = state.cellSize;
        auto cellRect = [&](int x, int y) {
            return QRect((x - state.viewColumn) * size, (y - state.viewRow) * size, size, size);
        };
        if (state.lastHoveredColumn >= 0)
            rects.push_back(cellRect(state.lastHoveredColumn, state.lastHoveredRow));
        if (state.regionSelected) {
            // The outline's four sides, a cell wide each.
            const Region& r = state.region;
            const QRect outer = cellRect(r.firstColumn, r.firstRow).united(cellRect(r.endColumn - 1, r.endRow - 1));
            const int w = outer.width(), h = outer.height();
            rects.insert(rects.end(), {outer.adjusted(0, 0, 0, size - h), outer.adjusted(0, h - size, 0, 0),
                                       outer.adjusted(0, 0, size - w, 0), outer.adjusted(w - size, 0, 0, 0)});
        }
        return rects;
    }

    // The first pixel that differs from a fresh redraw outside the allowed places, if any.
    std::optional<QPoint> firstLie()
    {
        const QImage fresh = freshPicture();
        const QImage& shown = form().mapImage();
        const std::vector<QRect> allowed = allowedRects();
        for (int y = 0; y < shown.height(); ++y) {
            const auto* a = reinterpret_cast<const QRgb*>(shown.constScanLine(y));
            const auto* b = reinterpret_cast<const QRgb*>(fresh.constScanLine(y));
            for (int x = 0; x < shown.width(); ++x)
                if (a[x] != b[x] && std::ranges::none_of(allowed, [&](const QRect& r) { return r.contains(x, y); }))
                    return QPoint(x, y);
        }
        return std::nullopt;
    }

    void noteNewMap() { geometryIndex_ = form().document().tilesetIndex; }

    QPoint viewPoint(int column, int row)
    {
        const EditorState& s = form().state();
        return QPoint(column - s.viewColumn, row - s.viewRow) * s.cellSize + QPoint(s.cellSize, s.cellSize) / 2;
    }
    // A press and a release of the button at the view pixel.
    void click(QPoint p, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = {})
    {
        form().MapBoxMouseDown(button, modifiers, p.x(), p.y());
        form().MapBoxMouseUp(button, modifiers, p.x(), p.y());
    }

    std::optional<int> geometryIndex_;
};

TEST_F(ScreenTest, EveryCommandLeavesTheMapViewAsAFreshRedrawShowsIt)
{
    const QString saved = folder.filePath("property.xem");
    TForm1& f = form();
    // The centre of a cell the view shows, as the pointer can only be over those.
    auto point = [&](std::mt19937& r) {
        const EditorState& state = f.state();
        const int shown = std::min(kMapSize, kViewSize / state.cellSize);
        const int column = std::min(31, state.viewColumn + int(r() % shown));
        return viewPoint(column, std::min(31, state.viewRow + int(r() % shown)));
    };
    const std::vector<std::pair<const char*, std::function<void(std::mt19937&)>>> commands = {
        {"move", [&](std::mt19937& r) { moveTo(point(r)); }},
        {"drag",
         [&](std::mt19937& r) {
             QPoint p = point(r);
             moveTo(p);
             f.MapBoxMouseDown(Qt::LeftButton, {}, p.x(), p.y());
             for (int step = int(r() % 4); step > 0; --step)
                 moveTo(p = point(r));
             f.MapBoxMouseUp(Qt::LeftButton, {}, p.x(), p.y());
         }},
        {"shift-click",
         [&](std::mt19937& r) {
             const EditorState& state = f.state();
             click(state.lastHoveredColumn >= 0 ? viewPoint(state.lastHoveredColumn, state.lastHoveredRow)
                                                : QPoint(5, 5),
                   r() % 2 ? Qt::LeftButton : Qt::RightButton, Qt::ShiftModifier);
         }},
        {"double-click",
         [&](std::mt19937& r) {
             const QPoint p = point(r);
             moveTo(p);
             click(p);
             f.MapBoxDblClick(Qt::LeftButton);
             f.MapBoxMouseUp(Qt::LeftButton, {}, p.x(), p.y());
         }},
        {"palette tile",
         [&](std::mt19937& r) {
             palette().PageControl1Change(int(r() % std::max(1, palette().tileset().layerCount())));
             const int scale = palette().paletteScale();
             palette().TileBoxMouseUp(r() % 3 ? Qt::LeftButton : Qt::RightButton, int(r() % 10) * 20 * scale + 3,
                                      int(r() % 10) * 20 * scale + 3);
         }},
        {"palette group", [&](std::mt19937& r) { palette().GroupButtonClick(int(r() % 4)); }},
        {"terrain box",
         [&](std::mt19937& r) {
             palette().PageControl1Change(0);
             palette().CheckBoxClick(int(r() % 4));
         }},
        {"select mode", [&](std::mt19937&) { f.SelectButtonClick(); }},
        {"key", [&](std::mt19937& r) { f.FormKeyPress(" +-,.s"[r() % 6]); }},
        {"describe",
         [&](std::mt19937& r) {
             const int results[] = {QDialog::Accepted, TTileDescForm::RemoveAllResult, QDialog::Rejected};
             const int result = results[r() % 3], id = 1 + int(r() % 4);
             prompter.expectDialog([result, id](QDialog& dialog) {
                 static_cast<TTileDescForm&>(dialog).workingDescription()->shortName = "Room";
                 if (auto* location = dialog.findChild<QLineEdit*>("LocID"))
                     location->setText(QString::number(id));
                 return result;
             });
             f.FormKeyPress('t');
         }},
        {"doors",
         [&](std::mt19937& r) {
             const int position = int(r() % 6), type = int(r() % 8);
             answerDoors(position, type, r() % 4 != 0 ? QDialog::Accepted : QDialog::Rejected);
             f.FormKeyPress('d');
         }},
        {"released key",
         [&](std::mt19937& r) {
             const ReleasedKey keys[] = {
                 {Key::Digit8, true},         {Key::Digit5, true},        {Key::Digit2, true},
                 {Key::ArrowRight},           {Key::ArrowDown},           {Key::ArrowLeft},
                 {Key::Z, false, true},       {Key::R, false, true},      {Key::X, false, true},
                 {Key::C, false, true},       {Key::V, false, true},      {Key::X, false, true, true},
                 {Key::C, false, true, true}, {Key::V, false, true, true}};
             f.FormKeyUp(keys[r() % std::size(keys)]);
         }},
        {"popup",
         [&](std::mt19937& r) {
             const char* items[] = {"CutDesc",    "CopyDesc",    "PasteDesc", "CutRegion",
                                    "CopyRegion", "PasteRegion", "LRotate",   "RRotate"};
             if (QAction* item = action(items[r() % std::size(items)]); item->isEnabled())
                 item->trigger();
         }},
        {"undo", [&](std::mt19937&) { button("UndoButton")->click(); }},
        {"redo", [&](std::mt19937&) { button("RedoButton")->click(); }},
        {"view",
         [&](std::mt19937& r) {
             action(std::array{"ViewGrid", "ViewDoors", "ViewLabels"}[r() % 3])->trigger();
         }},
        {"scroll",
         [&](std::mt19937& r) {
             auto* bar = f.findChild<QScrollBar*>(r() % 2 ? "XScroll" : "YScroll");
             bar->setValue(int(r() % (bar->maximum() + 1)));
         }},
        {"save", [&](std::mt19937&) { saveAs("Property", saved); }},
        {"new",
         [&](std::mt19937& r) {
             if (f.session().modified())
                 answerYesNo(false);  // Discard Changes
             action(r() % 2 ? "Tileset0" : "Tileset1")->trigger();
             noteNewMap();
         }},
        {"open",
         [&](std::mt19937&) {
             if (!QFile::exists(saved))
                 return;
             if (f.session().modified())
                 answerYesNo(false);  // Discard Changes
             openFile(saved);
             noteNewMap();
         }},
    };

    // Weights: moves and drags are what users do most.
    std::vector<std::size_t> deck;
    for (std::size_t i = 0; i < commands.size(); ++i)
        deck.insert(deck.end(), i < 2 ? 6 : 1, i);

    for (const unsigned seed : {1u, 2u, 3u, 4u}) {
        std::mt19937 random(seed);
        for (int step = 0; step < 500; ++step) {
            const auto& [name, run] = commands[deck[random() % deck.size()]];
            run(random);
            ASSERT_TRUE(prompter.allAnswersUsed()) << "seed " << seed << ", command " << step << ": " << name;
            const std::optional<QPoint> lie = firstLie();
            ASSERT_FALSE(lie) << "seed " << seed << ", command " << step << " (" << name << "): pixel (" << lie->x()
                              << ", " << lie->y() << ") differs from a fresh redraw";
        }
    }
}

}  // namespace

// Faults a user met: each left part of an old picture on the map until a full redraw.
TEST_F(ScreenTest, NoOldPictureStaysBehindTheCursorAfterUndoNewRemoveAllRegionsOrDialogs)
{
    TForm1& f = form();
    auto hover = [&](int x, int y) { moveTo(viewPoint(x, y)); };
    auto undoKey = [&] { f.FormKeyUp({Key::Z, false, true}); };
    // Plain colours, so that every tile painted shows.
    loadColourTileset();
    auto pickColour = [&] { palette().TileBoxMouseUp(Qt::LeftButton, 5 * 40 + 5, 5 * 40 + 5); };
    pickColour();

    const std::vector<std::pair<const char*, std::function<void()>>> scenarios = {
        {"paint, undo with the pointer on the cell",
         [&] {
             hover(3, 3);
             click(viewPoint(3, 3));
             undoKey();
         }},
        {"paint, then a new map",
         [&] {
             hover(3, 3);
             click(viewPoint(3, 3));
             answerYesNo(false);
             action("Tileset2")->trigger();
             noteNewMap();
             pickColour();
             hover(3, 3);
         }},
        {"remove all, then undo",
         [&] {
             describe(3, 3, "");
             f.redrawAll();
             hover(3, 3);
             prompter.expectDialog([](QDialog&) { return int(TTileDescForm::RemoveAllResult); });
             f.DescItemClick();
             undoKey();
         }},
        {"copy region",
         [&] {
             f.SelectButtonClick();
             hover(2, 2);
             drag({viewPoint(2, 2), viewPoint(4, 4)});
             hover(6, 6);
             action("CopyRegion")->trigger();
             palette().GroupButtonClick(0);  // ends the selection without a full redraw
         }},
        {"a Doors dialog that set a door, then cancelled",
         [&] {
             pickColour();
             hover(3, 3);
             answerDoors(0, 2, QDialog::Rejected);
             f.DoorItemClick();
         }},
        {"undo of a drag",
         [&] {
             pickColour();
             drag({viewPoint(3, 3), viewPoint(4, 3), viewPoint(5, 3)});
             undoKey();
         }},
    };
    for (const auto& [name, scenario] : scenarios) {
        scenario();
        hover(20, 20);
        hover(21, 21);
        const std::optional<QPoint> lie = firstLie();
        EXPECT_FALSE(lie) << name << ": pixel (" << lie->x() << ", " << lie->y() << ") shows an old picture";
        EXPECT_TRUE(prompter.allAnswersUsed()) << name;
    }
}
