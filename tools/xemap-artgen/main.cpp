#include "BoxArt.h"
#include "ConnectorArt.h"
#include "TerrainArt.h"
#include "ThingArt.h"

#include "core/tileset/Registry.h"
#include "render/TileSheet.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <vector>

// Draws the default tilesets, their tip and group files, the group icons and the
// About picture into the program folder given as the first argument. A second
// argument names a folder that also receives PNG copies of every sheet for viewing.

namespace {

using namespace xemap::art;
using xemap::kSheetSize;
using xemap::kTileCount;
using xemap::kTransparentColour;
using xemap::tileArea;

class SheetBuilder {
public:
    SheetBuilder() : sheet_(kSheetSize, kSheetSize, QImage::Format_RGB32), tips_(kTileCount)
    {
        sheet_.fill(kTransparentColour);
    }

    void put(int tile, const QString& tip, const std::function<void(QPainter&, Rng&)>& draw)
    {
        const QRect area = tileArea(tile);
        QPainter painter(&sheet_);
        painter.setClipRect(area);
        painter.translate(area.topLeft());
        Rng rng(static_cast<std::uint32_t>(tile * 7919 + seed_));
        draw(painter, rng);
        tips_[tile] = tip;
    }

    QImage tile(int tile) const { return sheet_.copy(tileArea(tile)); }
    const QImage& sheet() const { return sheet_; }
    const QStringList& tips() const { return tips_; }
    void reseed(int seed) { seed_ = seed; }

private:
    QImage sheet_;
    QStringList tips_;
    int seed_ = 1;
};

bool writeText(const QString& path, const QStringList& lines)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const QString& line : lines)
        file.write(line.toLatin1() + "\r\n");
    return file.commit();
}

bool writeBitmap(const QImage& image, const QString& path)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && image.convertToFormat(QImage::Format_RGB32).save(&file, "BMP")
           && file.commit();
}

// ---- base sheets: terrain rows, then plain ground tiles ----

struct TerrainRow {
    QString name;
    Terrain terrain;
    std::array<Decoration, 6> variants;
    std::array<const char*, 6> variantNames;
};

void putTerrainRow(SheetBuilder& sheet, int row, const TerrainRow& t)
{
    const int first = row * 10;
    sheet.put(first, t.name, [&](QPainter& p, Rng& rng) {
        paintTerrain(p, t.terrain, rng);
        paintGridRing(p);
    });
    sheet.put(first + 1, t.name + " outer corner",
              [&](QPainter& p, Rng& rng) { paintTerrainPiece(p, t.terrain, outerCornerRegion(), rng); });
    sheet.put(first + 2, t.name + " edge",
              [&](QPainter& p, Rng& rng) { paintTerrainPiece(p, t.terrain, edgeRegion(), rng); });
    sheet.put(first + 3, t.name + " inner corner",
              [&](QPainter& p, Rng& rng) { paintTerrainPiece(p, t.terrain, innerCornerRegion(), rng); });
    // Tile 99 ends the last row empty: it is the empty value of the base overlay layer.
    for (int k = 0; k < 6 && first + 4 + k < 99; ++k)
        sheet.put(first + 4 + k, t.name + " " + t.variantNames[k], [&](QPainter& p, Rng& rng) {
            paintTerrain(p, t.terrain, rng);
            paintDecoration(p, t.variants[k], t.terrain, rng);
            paintGridRing(p);
        });
}

using D = Decoration;

const std::vector<TerrainRow> kOutdoorTerrains{
    {"Dirt",
     {0xff8a6a44, 0xff5a4228, 0xff6a4e30, Pattern::Noise},
     {D::Plain, D::Pebbles, D::Cracks, D::Puddle, D::Leaves, D::Tufts},
     {"plain", "with pebbles", "dry and cracked", "with a puddle", "with fallen leaves", "with weeds"}},
    {"Grass",
     {0xff4a8a34, 0xff6aaa40, 0xff2e6a22, Pattern::Noise},
     {D::Plain, D::Tufts, D::Flowers, D::Pebbles, D::Leaves, D::Moss},
     {"plain", "tall", "with flowers", "with stones", "with fallen leaves", "dark patches"}},
    {"Cobbled road",
     {0xff8a8478, 0xff6a665c, 0xff4a463e, Pattern::Cobbles},
     {D::Plain, D::Cracks, D::Moss, D::Puddle, D::Leaves, D::Pebbles},
     {"plain", "cracked", "mossy", "with a puddle", "with leaves", "loose stones"}},
    {"Water",
     {0xff2a5a9a, 0xff8ab4e0, 0xffd8e8f0, Pattern::Water},
     {D::Plain, D::Ripples, D::Leaves, D::Plain, D::Ripples, D::Plain},
     {"calm", "rippling", "with floating leaves", "deep", "with a rising fish", "open"}},
    {"Sand",
     {0xffd8c080, 0xffb89a5a, 0xffb09050, Pattern::Noise},
     {D::Plain, D::Pebbles, D::Tufts, D::Bones, D::Cracks, D::Leaves},
     {"plain", "with shells", "with beach grass", "with bones", "wind-swept", "with driftwood"}},
    {"Stone floor",
     {0xffa8a49a, 0xff8a867c, 0xff5a5650, Pattern::Flagstones},
     {D::Plain, D::Cracks, D::Moss, D::Puddle, D::Leaves, D::Pebbles},
     {"plain", "cracked", "mossy", "wet", "with leaves", "with grit"}},
    {"Snow",
     {0xffeef2f6, 0xffc8d4e0, 0xffa8b8c8, Pattern::Noise},
     {D::Plain, D::Pebbles, D::Tufts, D::Cracks, D::Puddle, D::Bones},
     {"fresh", "with stones", "with dry grass", "crusted", "with meltwater", "with bones"}},
    {"Mud",
     {0xff5a4a34, 0xff3a2e20, 0xff3a2e20, Pattern::Noise},
     {D::Plain, D::Puddle, D::Tufts, D::Pebbles, D::Leaves, D::Bones},
     {"plain", "with a puddle", "with reeds", "with stones", "with leaves", "with bones"}},
    {"Flagstone plaza",
     {0xffb8a890, 0xff988870, 0xff6a5e4c, Pattern::Flagstones},
     {D::Plain, D::Cracks, D::Moss, D::Leaves, D::Puddle, D::Pebbles},
     {"plain", "cracked", "mossy", "with leaves", "wet", "with grit"}},
    {"Dry grass",
     {0xffa8a050, 0xff88803a, 0xff6a6228, Pattern::Noise},
     {D::Plain, D::Tufts, D::Flowers, D::Pebbles, D::Leaves, D::Plain},
     {"plain", "tall", "with flowers", "with stones", "with leaves", "short"}},
};

const std::vector<TerrainRow> kIndoorTerrains{
    {"Cave floor",
     {0xff6a5a48, 0xff4a3e30, 0xff3a3024, Pattern::Noise},
     {D::Plain, D::Pebbles, D::Cracks, D::Bones, D::Puddle, D::Moss},
     {"plain", "with pebbles", "cracked", "with bones", "with a puddle", "mossy"}},
    {"Stone floor",
     {0xff8a8680, 0xff6a6660, 0xff3a3834, Pattern::Flagstones},
     {D::Plain, D::Cracks, D::Moss, D::Puddle, D::Bones, D::Pebbles},
     {"plain", "cracked", "mossy", "wet", "with bones", "with grit"}},
    {"Wooden floor",
     {0xff9a6a3a, 0xff6a4420, 0xff4a2e14, Pattern::Planks},
     {D::Plain, D::Cracks, D::Puddle, D::Leaves, D::Pebbles, D::Bones},
     {"plain", "worn", "with a spill", "with straw", "with crumbs", "with bones"}},
    {"Water",
     {0xff1e4a7a, 0xff6a9ac8, 0xffa8c8e0, Pattern::Water},
     {D::Plain, D::Ripples, D::Plain, D::Ripples, D::Plain, D::Leaves},
     {"still", "rippling", "deep", "dripping", "dark", "with scum"}},
    {"Gravel",
     {0xff7a766e, 0xff5a5650, 0xff4a4640, Pattern::Noise},
     {D::Plain, D::Pebbles, D::Bones, D::Cracks, D::Moss, D::Puddle},
     {"plain", "coarse", "with bones", "packed", "mossy", "wet"}},
    {"Rock",
     {0xff4a4440, 0xff6a625a, 0xff24201e, Pattern::Rock},
     {D::Plain, D::Cracks, D::Moss, D::Plain, D::Cracks, D::Moss},
     {"solid", "fissured", "mossy", "rough", "split", "damp"}},
    {"Lava",
     {0xffc84010, 0xfff8d040, 0xff4a2010, Pattern::Lava},
     {D::Plain, D::Cracks, D::Plain, D::Ripples, D::Plain, D::Cracks},
     {"flowing", "crusted", "bubbling", "swirling", "glowing", "cooling"}},
    {"Marble floor",
     {0xffd8d4cc, 0xff9a968e, 0xff6a665e, Pattern::Marble},
     {D::Plain, D::Cracks, D::Moss, D::Puddle, D::Bones, D::Pebbles},
     {"polished", "cracked", "mossy", "wet", "with bones", "with rubble"}},
    {"Brick floor",
     {0xff8a4a34, 0xff6a3424, 0xff3a1e14, Pattern::Cobbles},
     {D::Plain, D::Cracks, D::Moss, D::Puddle, D::Bones, D::Pebbles},
     {"plain", "cracked", "mossy", "wet", "with bones", "with grit"}},
    {"Moss",
     {0xff3a5a2a, 0xff5a7a3a, 0xff22361a, Pattern::Noise},
     {D::Plain, D::Tufts, D::Pebbles, D::Bones, D::Puddle, D::Plain},
     {"plain", "thick", "with stones", "with bones", "wet", "short"}},
};

SheetBuilder baseSheet(const std::vector<TerrainRow>& rows, int seed)
{
    SheetBuilder sheet;
    sheet.reseed(seed);
    for (int row = 0; row < static_cast<int>(rows.size()); ++row)
        putTerrainRow(sheet, row, rows[row]);
    sheet.put(99, "Empty", [](QPainter&, Rng&) {});
    return sheet;
}

// ---- overlay sheets: objects, connector groups, box groups ----

struct ConnectorGroup {
    QString name;
    ConnectorStyle style;
    int firstTile;       // straight, corner, T, cross, end, doorway follow each other
    QString firstTable;  // 12 numbers
};

struct BoxGroup {
    QString name;
    BoxStyle style;
    int firstTile;  // interior, corner, edge
};

struct Overlay {
    QString file;  // base name in tilesets/
    std::vector<std::pair<int, Thing>> things;
    std::vector<QString> thingNames;
    std::vector<ConnectorGroup> connectors;
    std::vector<BoxGroup> boxes;
};

constexpr const char* kNoConversion = "-1 -1 0 -1 -1 0 -1 -1 0 -1 -1 0";

void putConnector(SheetBuilder& sheet, const ConnectorGroup& group)
{
    const int t = group.firstTile;
    const auto arms = [&](int tile, const QString& part, int bits) {
        sheet.put(tile, group.name + " " + part,
                  [&](QPainter& p, Rng& rng) { paintConnector(p, group.style, bits, rng); });
    };
    arms(t, "straight", ArmWest | ArmEast);
    arms(t + 1, "corner", ArmEast | ArmSouth);
    arms(t + 2, "T junction", ArmEast | ArmSouth | ArmWest);
    arms(t + 3, "crossing", ArmNorth | ArmEast | ArmSouth | ArmWest);
    arms(t + 4, "end", ArmWest);
    sheet.put(t + 5, group.name + " with a door", [&](QPainter& p, Rng& rng) { paintDoorway(p, group.style, rng); });
}

void putBox(SheetBuilder& sheet, const BoxGroup& group)
{
    const auto piece = [&](int tile, const QString& part, BoxPiece which) {
        sheet.put(tile, group.name + " " + part,
                  [&](QPainter& p, Rng& rng) { paintBoxPiece(p, group.style, which, rng); });
    };
    piece(group.firstTile, "middle", BoxPiece::Interior);
    piece(group.firstTile + 1, "corner", BoxPiece::Corner);
    piece(group.firstTile + 2, "side", BoxPiece::Edge);
}

QString iconName(const Overlay& overlay, const QString& group)
{
    return QStringLiteral("tilesets/icons/%1_%2.bmp").arg(overlay.file, group.toLower().replace(' ', '_'));
}

QImage iconOf(const QImage& tile)
{
    QImage face(tile.size(), QImage::Format_RGB32);
    face.fill(QColor(0xffd4d0c8));
    QPainter painter(&face);
    painter.drawImage(0, 0, xemap::art::keyed(tile));
    painter.end();
    return face.scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QStringList groupLines(const Overlay& overlay)
{
    QStringList lines;
    // Box groups fill the first column of buttons, connector groups the second.
    for (const BoxGroup& box : overlay.boxes) {
        const int t = box.firstTile;
        lines << QStringLiteral("B: %1 0 %2 0 %3 0 %3 0 : %4 : %5")
                     .arg(t)
                     .arg(t + 1)
                     .arg(t + 2)
                     .arg(box.name, iconName(overlay, box.name));
    }
    for (const ConnectorGroup& c : overlay.connectors) {
        const int t = c.firstTile;
        lines << QStringLiteral("S: %1 0 %2 0 %3 0 %4 0 : %5 : %6 : %7 : %8")
                     .arg(t)
                     .arg(t + 1)
                     .arg(t + 2)
                     .arg(t + 3)
                     .arg(c.firstTable, kNoConversion, c.name, iconName(overlay, c.name));
    }
    return lines;
}

SheetBuilder overlaySheet(const Overlay& overlay)
{
    SheetBuilder sheet;
    sheet.put(0, "Nothing", [](QPainter&, Rng&) {});
    for (std::size_t i = 0; i < overlay.things.size(); ++i) {
        const auto [tile, thing] = overlay.things[i];
        sheet.put(tile, overlay.thingNames[i], [thing](QPainter& p, Rng& rng) { paintThing(p, thing, rng); });
    }
    for (const ConnectorGroup& c : overlay.connectors)
        putConnector(sheet, c);
    for (const BoxGroup& b : overlay.boxes)
        putBox(sheet, b);
    return sheet;
}

using T = Thing;

const Overlay kCityLayer{
    "city_layer",
    {{1, T::Oak},      {2, T::Pine},        {3, T::Bush},      {4, T::Rock},       {5, T::Boulder},
     {6, T::Flowers},  {7, T::Well},        {8, T::Barrel},    {9, T::Crate},      {16, T::LampPost},
     {17, T::Bench},   {18, T::Signpost},   {19, T::Cart},     {26, T::Haystack},  {27, T::Stump},
     {28, T::LogPile}, {29, T::Statue},     {35, T::Bridge},   {36, T::Stairs},    {37, T::Stall},
     {38, T::Tent},    {39, T::Campfire},   {45, T::WoodDoor}, {46, T::IronGate},  {47, T::Arch},
     {48, T::Anvil},   {49, T::Fountain},   {59, T::Table},    {69, T::Chair},     {76, T::Grave},
     {77, T::Chest},   {78, T::Torch},      {79, T::Banner},   {80, T::Mushrooms}, {81, T::Rubble},
     {82, T::Pillar},  {83, T::StairsDown}, {84, T::Trapdoor}, {85, T::Cauldron}},
    {"Oak tree", "Pine tree",     "Bush",     "Rock",         "Boulder",     "Flowers",  "Well",        "Barrel",
     "Crate",    "Lamp post",     "Bench",    "Signpost",     "Cart",        "Haystack", "Tree stump",  "Log pile",
     "Statue",   "Wooden bridge", "Stairs",   "Market stall", "Tent",        "Campfire", "Wooden door", "Iron gate",
     "Archway",  "Anvil",         "Fountain", "Table",        "Chair",       "Grave",    "Chest",       "Torch",
     "Banner",   "Mushrooms",     "Rubble",   "Pillar",       "Stairs down", "Trapdoor", "Cauldron"},
    {{"Stone Wall", ConnectorStyle::StoneWall, 10, "45 15 0 -1 -1 0 -1 -1 0 -1 -1 0"},
     {"Wooden Fence", ConnectorStyle::WoodFence, 20, "45 25 0 -1 -1 0 -1 -1 0 -1 -1 0"},
     {"Road", ConnectorStyle::Road, 30, kNoConversion},
     {"Hedge", ConnectorStyle::Hedge, 40, kNoConversion}},
    {{"Red Roof", {BoxKind::Roof, 0xffa83a2a, 0xffc85a3a, 0xff6a2218}, 50},
     {"Slate Roof", {BoxKind::Roof, 0xff4a5260, 0xff6a7282, 0xff2a3038}, 53},
     {"Thatch Roof", {BoxKind::Roof, 0xffb8983a, 0xffd8b850, 0xff7a6020}, 56},
     {"Copper Roof", {BoxKind::Roof, 0xff3a8a72, 0xff5aaa90, 0xff1e5a48}, 60},
     {"Flower Bed", {BoxKind::Bed, 0xff5a4228, 0xffd04a6a, 0xff9a968c}, 63},
     {"Pond", {BoxKind::Pond, 0xff2a5a9a, 0xff8ab4e0, 0xff8a8478}, 66},
     {"Wheat Field", {BoxKind::Field, 0xffc8a848, 0xffe8d070, 0xff4a8a34}, 70},
     {"Market Awning", {BoxKind::Awning, 0xffe8e0d0, 0xff3a6ab0, 0xff2a4a80}, 73}},
};

const Overlay kIndoorLayer{
    "indoor_layer",
    {{1, T::Table},     {2, T::Chair},     {3, T::Bed},      {4, T::Chest},     {5, T::Barrel},      {6, T::Crate},
     {7, T::Bookshelf}, {8, T::Throne},    {9, T::Torch},    {10, T::Skeleton}, {11, T::StairsDown}, {12, T::Stairs},
     {13, T::Altar},    {14, T::Coffin},   {15, T::Pillar},  {16, T::Rubble},   {17, T::Web},        {18, T::Cauldron},
     {19, T::Candles},  {26, T::Trapdoor}, {27, T::Lever},   {28, T::Banner},   {29, T::Mushrooms},  {36, T::Crystal},
     {37, T::Statue},   {38, T::Well},     {39, T::Grave},   {45, T::WoodDoor}, {46, T::IronGate},   {47, T::Arch},
     {48, T::Anvil},    {49, T::Campfire}, {59, T::Boulder}, {69, T::Rock}},
    {"Table",       "Chair",       "Bed",       "Chest",  "Barrel",    "Crate",    "Bookshelf", "Throne", "Torch",
     "Skeleton",    "Stairs down", "Stairs up", "Altar",  "Coffin",    "Pillar",   "Rubble",    "Cobweb", "Cauldron",
     "Candles",     "Trapdoor",    "Lever",     "Banner", "Mushrooms", "Crystals", "Statue",    "Well",   "Grave",
     "Wooden door", "Iron gate",   "Archway",   "Anvil",  "Campfire",  "Boulder",  "Rock"},
    {{"Dungeon Wall", ConnectorStyle::DungeonWall, 20, "45 25 0 -1 -1 0 -1 -1 0 -1 -1 0"},
     {"Iron Bars", ConnectorStyle::IronBars, 30, "46 35 0 -1 -1 0 -1 -1 0 -1 -1 0"},
     {"Carpet Runner", ConnectorStyle::Carpet, 40, kNoConversion}},
    {{"Red Rug", {BoxKind::Rug, 0xff8a1a20, 0xffc89030, 0xffd8b040}, 50},
     {"Blue Rug", {BoxKind::Rug, 0xff1e3a7a, 0xffc8c0a0, 0xffb89030}, 53},
     {"Long Table", {BoxKind::Table, 0xff9a6a3a, 0xff6a4420, 0xff5a3a1a}, 56},
     {"Pit", {BoxKind::Pit, 0xff101010, 0xff2a2826, 0xff6a6660}, 60},
     {"Pool", {BoxKind::Pond, 0xff1e4a7a, 0xff6a9ac8, 0xff8a8680}, 63},
     {"Lava Pool", {BoxKind::Pond, 0xffc84010, 0xfff8d040, 0xff4a4440}, 66},
     {"Stone Dais", {BoxKind::Dais, 0xffb8b4ac, 0xff8a867e, 0xff6a665e}, 70},
     {"Wooden Stage", {BoxKind::Table, 0xff8a5a2e, 0xff5a3a1a, 0xff4a2e14}, 73}},
};

// ---- the About picture ----

QImage aboutPicture(const SheetBuilder& bases, const SheetBuilder& city)
{
    QImage picture(512, 208, QImage::Format_RGB32);
    QPainter p(&picture);
    // A strip of map at half size: grass, a road, a pond, trees and a wall.
    constexpr int cell = 40;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 13; ++x) {
            const int base = y == 3 ? 20 : (x > 9 && y < 2 ? 30 : 10 + (x * 7 + y * 3) % 3 * 0);
            p.drawImage(QRect(x * cell, y * cell, cell, cell), bases.tile(base));
        }
    const auto overlay = [&](int tile, int x, int y) {
        p.drawImage(QRect(x * cell, y * cell, cell, cell), xemap::art::keyed(city.tile(tile)));
    };
    for (int x = 0; x < 13; ++x)
        overlay(10, x, 4);
    overlay(15, 6, 4);
    for (const auto& [x, y] : {std::pair{1, 0}, {3, 1}, {0, 2}, {8, 0}, {11, 4}, {12, 2}})
        overlay((x + y) % 2 ? 1 : 2, x, y);
    overlay(7, 5, 1);
    overlay(8, 9, 2);
    p.fillRect(0, 120, 512, 88, QColor(0, 0, 0, 110));
    QFont title(QStringLiteral("DejaVu Serif"));
    title.setPixelSize(54);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0xff1a1208));
    p.drawText(QRect(23, 122, 480, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("XEMap"));
    p.setPen(QColor(0xfff0d890));
    p.drawText(QRect(20, 119, 480, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("XEMap"));
    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(16);
    p.setFont(subtitle);
    p.setPen(QColor(0xffe8e4dc));
    p.drawText(QRect(22, 176, 480, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Tile maps for fantasy role-playing games"));
    return picture;
}

// ---- the program icon ----

// Four cells of map in a dark frame: grass with a tree, a road, and water.
QImage programIcon(const SheetBuilder& bases, const SheetBuilder& city)
{
    QImage icon(128, 128, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    constexpr int cell = 56;
    const QPoint origin(8, 8);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            p.drawImage(QRect(origin + QPoint(x * cell, y * cell), QSize(cell, cell)),
                        bases.tile(y == 1 ? 20 : 10 + x * 20));
    p.drawImage(QRect(origin, QSize(cell, cell)), xemap::art::keyed(city.tile(1)));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xff1a1208), 6));
    p.drawRoundedRect(QRectF(origin, QSizeF(2 * cell, 2 * cell)).adjusted(-2, -2, 2, 2), 10, 10);
    return icon;
}

struct Writer {
    QDir program;
    QString previews;
    bool ok = true;

    void bitmap(const QImage& image, const QString& relative)
    {
        ok = writeBitmap(image, program.filePath(relative)) && ok;
        if (!previews.isEmpty())
            image.save(QDir(previews).filePath(QFileInfo(relative).completeBaseName() + ".png"));
    }
    void text(const QStringList& lines, const QString& relative)
    {
        ok = writeText(program.filePath(relative), lines) && ok;
    }
    // The registry naming the default tilesets, written as the editor's first start would, so
    // that an installed folder the user cannot write to still starts; one in use is kept.
    void registry() { ok = xemap::loadOrCreateRegistry(program.absolutePath().toStdString()).ok() && ok; }

    void tileset(const SheetBuilder& sheet, const QString& name)
    {
        bitmap(sheet.sheet(), "tilesets/" + name + ".bmp");
        text(sheet.tips(), "tilesets/" + name + ".tip");
    }
    void overlay(const Overlay& overlay)
    {
        const SheetBuilder sheet = overlaySheet(overlay);
        tileset(sheet, overlay.file);
        text(groupLines(overlay), "tilesets/" + overlay.file + ".grp");
        for (const BoxGroup& b : overlay.boxes)
            ok = writeBitmap(iconOf(sheet.tile(b.firstTile + 1)), program.filePath(iconName(overlay, b.name))) && ok;
        for (const ConnectorGroup& c : overlay.connectors)
            ok = writeBitmap(iconOf(sheet.tile(c.firstTile + 1)), program.filePath(iconName(overlay, c.name))) && ok;
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: xemap-artgen PROGRAM_DIR [PREVIEW_DIR]\n");
        return 1;
    }
    Writer out{QDir(QString::fromLocal8Bit(argv[1])), argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString()};
    if (!out.program.mkpath("tilesets/icons")) {
        std::fprintf(stderr, "xemap-artgen: cannot create %s/tilesets/icons\n", argv[1]);
        return 1;
    }
    const SheetBuilder outdoor = baseSheet(kOutdoorTerrains, 11);
    const SheetBuilder indoor = baseSheet(kIndoorTerrains, 23);
    out.tileset(outdoor, "outdoor_bases");
    out.tileset(indoor, "indoor_bases");
    out.overlay(kCityLayer);
    out.overlay(kIndoorLayer);
    out.bitmap(aboutPicture(outdoor, overlaySheet(kCityLayer)), "XEMAP.BMP");
    out.registry();
    out.ok = programIcon(outdoor, overlaySheet(kCityLayer)).save(out.program.filePath("xemap.png")) && out.ok;
    if (!out.ok) {
        std::fprintf(stderr, "xemap-artgen: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
