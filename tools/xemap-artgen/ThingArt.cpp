#include "ThingArt.h"

#include <cmath>
#include <iterator>

namespace xemap::art {

namespace {

void canopy(QPainter& p, Rng& rng, QPointF centre, double radius, QRgb leaf)
{
    shadow(p, QRectF(centre.x() - radius + 6, centre.y() - radius + 10, 2 * radius, 2 * radius));
    for (int i = 0; i < 7; ++i) {
        const double a = i * 2 * kPi / 7;
        const double r = radius * 0.55;
        ellipse(p, QRectF(centre.x() + r * std::cos(a) - r, centre.y() + r * std::sin(a) - r, 2 * r, 2 * r),
                jitter(leaf, rng, 10), shade(leaf, 45));
    }
    ellipse(p, QRectF(centre.x() - radius * 0.6, centre.y() - radius * 0.6, radius * 1.2, radius * 1.2), QColor(leaf));
    for (int i = 0; i < 18; ++i)
        dot(p, centre.x() + rng.range(-radius * 0.7, radius * 0.5), centre.y() + rng.range(-radius * 0.7, radius * 0.3),
            2, shade(leaf, 135));
}

void box(QPainter& p, QRect r, QRgb fill)
{
    p.fillRect(r, QColor(fill));
    p.setPen(QPen(shade(fill, 50), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
}

void paintOak(QPainter& p, Rng& rng)
{
    p.fillRect(36, 40, 8, 22, QColor(0xff5a3a1a));
    canopy(p, rng, {40, 36}, 30, 0xff2a6420);
}

void paintPine(QPainter& p, Rng&)
{
    shadow(p, QRectF(22, 30, 44, 44));
    for (int i = 0; i < 4; ++i) {
        const int r = 30 - i * 7;
        polygon(p, QPolygon({QPoint(40, 8 + i * 6), QPoint(40 + r, 40 + r / 2), QPoint(40 - r, 40 + r / 2)}),
                shade(0xff1e5a30, 90 + i * 10), shade(0xff0e3018, 100));
    }
}

void paintBush(QPainter& p, Rng& rng) { canopy(p, rng, {40, 42}, 18, 0xff3a7a2a); }

void paintRock(QPainter& p, Rng&)
{
    shadow(p, QRectF(26, 40, 34, 20));
    polygon(p,
            QPolygon({QPoint(24, 50), QPoint(30, 32), QPoint(46, 28), QPoint(56, 40), QPoint(52, 54), QPoint(32, 56)}),
            QColor(0xff8a8680), QColor(0xff4a4640));
    line(p, QPointF(30, 34), QPointF(45, 30), QColor(0xffc0bcb4), 2);
}

void paintBoulder(QPainter& p, Rng&)
{
    shadow(p, QRectF(14, 34, 58, 36));
    polygon(p,
            QPolygon({QPoint(10, 50), QPoint(18, 22), QPoint(40, 12), QPoint(64, 22), QPoint(70, 48), QPoint(52, 64),
                      QPoint(24, 64)}),
            QColor(0xff7a766e), QColor(0xff3a3630));
    line(p, QPointF(20, 24), QPointF(40, 14), QColor(0xffb8b2a8), 2);
    line(p, QPointF(40, 30), QPointF(48, 48), QColor(0xff4a4640));
}

void paintFlowers(QPainter& p, Rng& rng) { paintDecoration(p, Decoration::Flowers, Terrain{}, rng); }

void paintWell(QPainter& p, Rng&)
{
    shadow(p, QRectF(16, 20, 54, 54));
    ellipse(p, QRectF(14, 14, 52, 52), QColor(0xff8a8680), QColor(0xff3a3630));
    ellipse(p, QRectF(24, 24, 32, 32), QColor(0xff1a2a40));
    line(p, QPointF(14, 40), QPointF(66, 40), QColor(0xff6a4020), 4);
}

void paintBarrel(QPainter& p, Rng&)
{
    shadow(p, QRectF(24, 28, 36, 36));
    ellipse(p, QRectF(22, 22, 36, 36), QColor(0xff8a5a2e), QColor(0xff3a2410));
    for (const int r : {14, 8})
        ellipse(p, QRectF(40 - r, 40 - r, 2 * r, 2 * r), QColor(0xff9a6a3a), QColor(0xff4a4a4a));
}

void paintCrate(QPainter& p, Rng&)
{
    box(p, QRect(20, 20, 40, 40), 0xffa87a40);
    line(p, QPointF(21, 21), QPointF(59, 59), QColor(0xff6a4a20), 3);
    line(p, QPointF(59, 21), QPointF(21, 59), QColor(0xff6a4a20), 3);
}

void paintLampPost(QPainter& p, Rng&)
{
    ellipse(p, QRectF(34, 34, 12, 12), QColor(0xff2a2a2a));
    ellipse(p, QRectF(30, 18, 20, 20), QColor(0xfff0d060), QColor(0xff2a2a2a));
}

void paintBench(QPainter& p, Rng&)
{
    box(p, QRect(14, 32, 52, 16), 0xff8a5a2e);
    line(p, QPointF(16, 38), QPointF(64, 38), QColor(0xff5a3a1a));
}

void paintSignpost(QPainter& p, Rng&)
{
    box(p, QRect(36, 36, 8, 8), 0xff5a3a1a);
    box(p, QRect(18, 24, 44, 12), 0xffb08a50);
}

void paintCart(QPainter& p, Rng&)
{
    box(p, QRect(18, 24, 44, 30), 0xff9a6a3a);
    for (const int x : {14, 62})
        p.fillRect(x, 22, 4, 34, QColor(0xff3a2a1a));
    line(p, QPointF(40, 54), QPointF(40, 76), QColor(0xff5a3a1a), 3);
}

void paintHaystack(QPainter& p, Rng& rng)
{
    shadow(p, QRectF(18, 26, 50, 44));
    ellipse(p, QRectF(14, 18, 52, 44), QColor(0xffd8b850), QColor(0xff8a7020));
    for (int i = 0; i < 25; ++i) {
        const int x = rng.range(20, 58), y = rng.range(24, 56);
        line(p, QPointF(x, y), QPointF(x + rng.range(-3, 3), y + 4), QColor(0xffa88a30));
    }
}

void paintStump(QPainter& p, Rng&)
{
    ellipse(p, QRectF(26, 26, 28, 28), QColor(0xff6a4a28), QColor(0xff3a2410));
    ellipse(p, QRectF(31, 31, 18, 18), QColor(0xffc8a070));
    ellipse(p, QRectF(36, 36, 8, 8), QColor(0xffa88050));
}

void paintLogPile(QPainter& p, Rng&)
{
    for (int i = 0; i < 3; ++i) {
        p.fillRect(12, 22 + i * 12, 56, 10, QColor(0xff7a5030));
        ellipse(p, QRectF(62, 22 + i * 12, 10, 10), QColor(0xffc8a070), QColor(0xff3a2410));
    }
}

void paintStatue(QPainter& p, Rng&)
{
    p.fillRect(22, 22, 36, 36, QColor(0xff8a8680));
    ellipse(p, QRectF(30, 26, 20, 20), QColor(0xffc8c4bc), QColor(0xff5a5650));
}

void paintFountain(QPainter& p, Rng& rng)
{
    ellipse(p, QRectF(6, 6, 68, 68), QColor(0xff9a968c), QColor(0xff4a4640));
    ellipse(p, QRectF(12, 12, 56, 56), QColor(0xff3a6aa0));
    ellipse(p, QRectF(32, 32, 16, 16), QColor(0xffc8c4bc));
    paintDecoration(p, Decoration::Ripples, Terrain{0, 0xff8ab0e0, 0, Pattern::Water}, rng);
}

void paintBridge(QPainter& p, Rng&)
{
    p.fillRect(14, 0, 52, kTile, QColor(0xff8a5a2e));
    for (int y = 0; y < kTile; y += 8)
        line(p, QPointF(14, y), QPointF(66, y), QColor(0xff4a2a10));
    for (const int x : {12, 64})
        p.fillRect(x, 0, 4, kTile, QColor(0xff5a3a1a));
}

// Six steps, lighter towards the top going up and towards the bottom going down.
void paintSteps(QPainter& p, bool up)
{
    for (int i = 0; i < 6; ++i) {
        const int shadeStep = up ? 60 + i * 10 : 120 - i * 12;
        p.fillRect(14, 10 + i * 10, 52, 10, shade(0xff9a968c, shadeStep));
        line(p, QPointF(14, 10 + i * 10), QPointF(66, 10 + i * 10), QColor(0xff3a3630));
    }
}

void paintStairs(QPainter& p, Rng&) { paintSteps(p, true); }

void paintStairsDown(QPainter& p, Rng&) { paintSteps(p, false); }

void paintStall(QPainter& p, Rng&)
{
    box(p, QRect(10, 30, 60, 24), 0xff8a5a2e);
    for (int x = 10; x < 70; x += 12)
        p.fillRect(x, 14, 6, 16, QColor(x % 24 ? 0xffd04040 : 0xffffffff));
    for (int i = 0; i < 5; ++i)
        ellipse(p, QRectF(16 + i * 10, 36, 8, 8), QColor(i % 2 ? 0xffd8a020 : 0xff60a030));
}

void paintTent(QPainter& p, Rng&)
{
    polygon(p, QPolygon({QPoint(40, 10), QPoint(72, 66), QPoint(8, 66)}), QColor(0xffc8b890), QColor(0xff6a5a3a));
    polygon(p, QPolygon({QPoint(40, 30), QPoint(50, 66), QPoint(30, 66)}), QColor(0xff3a3020));
}

void paintCampfire(QPainter& p, Rng&)
{
    for (int i = 0; i < 8; ++i) {
        const double a = i * kPi / 4;
        ellipse(p, QRectF(36 + 18 * std::cos(a), 36 + 18 * std::sin(a), 8, 8), QColor(0xff8a8680), QColor(0xff4a4640));
    }
    ellipse(p, QRectF(28, 28, 24, 24), QColor(0xffe06010));
    ellipse(p, QRectF(33, 31, 14, 16), QColor(0xfff0c030));
}

// A door leaf across the cell, its bars in a darker shade.
void paintDoorLeaf(QPainter& p, QRgb colour)
{
    box(p, QRect(20, 30, 40, 20), colour);
    for (int x = 26; x < 60; x += 7)
        line(p, QPointF(x, 31), QPointF(x, 49), shade(colour, 60));
}

void paintWoodDoor(QPainter& p, Rng&) { paintDoorLeaf(p, 0xff7a4a22); }

void paintIronGate(QPainter& p, Rng&) { paintDoorLeaf(p, 0xff4a4a52); }

void paintArch(QPainter& p, Rng&)
{
    p.fillRect(8, 28, 14, 24, QColor(0xff9a968c));
    p.fillRect(58, 28, 14, 24, QColor(0xff9a968c));
    p.setPen(QPen(QColor(0xff6a665e), 6));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRect(12, 14, 56, 40), 0, 180 * 16);
}

void paintAnvil(QPainter& p, Rng&)
{
    polygon(p,
            QPolygon({QPoint(16, 30), QPoint(64, 30), QPoint(56, 42), QPoint(48, 42), QPoint(50, 54), QPoint(30, 54),
                      QPoint(32, 42), QPoint(24, 42)}),
            QColor(0xff4a4a52), QColor(0xff1a1a1e));
}

void paintTable(QPainter& p, Rng&)
{
    shadow(p, QRectF(16, 18, 54, 54));
    box(p, QRect(16, 16, 48, 48), 0xff9a6a3a);
    line(p, QPointF(17, 40), QPointF(63, 40), QColor(0xff6a4a20));
}

void paintChair(QPainter& p, Rng&)
{
    box(p, QRect(28, 30, 24, 24), 0xff9a6a3a);
    p.fillRect(28, 24, 24, 6, QColor(0xff6a4020));
}

void paintGrave(QPainter& p, Rng&)
{
    p.fillRect(30, 44, 20, 24, QColor(0xff6a5a40));
    p.setPen(QPen(QColor(0xff4a4640), 2));
    p.setBrush(QColor(0xffa8a49c));
    p.drawRoundedRect(QRect(28, 14, 24, 30), 10, 10);
    line(p, QPointF(40, 20), QPointF(40, 36), QColor(0xff4a4640), 2);
    line(p, QPointF(34, 26), QPointF(46, 26), QColor(0xff4a4640), 2);
}

void paintChest(QPainter& p, Rng&)
{
    box(p, QRect(18, 26, 44, 30), 0xff8a5a2e);
    p.fillRect(18, 36, 44, 4, QColor(0xffc8a030));
    p.fillRect(37, 34, 6, 8, QColor(0xffe8d060));
}

void paintBed(QPainter& p, Rng&)
{
    box(p, QRect(20, 8, 40, 64), 0xff6a4020);
    p.fillRect(23, 11, 34, 14, QColor(0xffe8e4dc));
    p.fillRect(23, 28, 34, 41, QColor(0xff3a5aa0));
    line(p, QPointF(23, 28), QPointF(57, 28), QColor(0xffe8e4dc), 2);
}

void paintBookshelf(QPainter& p, Rng& rng)
{
    box(p, QRect(4, 24, 72, 24), 0xff5a3a1a);
    for (int x = 8; x < 72; x += 5)
        p.fillRect(
            x, 27, 4, 18,
            jitter(std::array<QRgb, 4>{0xff9a2a2a, 0xff2a5a9a, 0xff2a7a3a, 0xffa88a30}[rng.range(0, 3)], rng, 10));
}

void paintThrone(QPainter& p, Rng&)
{
    box(p, QRect(24, 14, 32, 12), 0xffc8a030);
    box(p, QRect(24, 26, 32, 34), 0xff9a1e24);
    p.fillRect(20, 30, 6, 30, QColor(0xffc8a030));
    p.fillRect(54, 30, 6, 30, QColor(0xffc8a030));
}

void paintTorch(QPainter& p, Rng&)
{
    p.fillRect(37, 36, 6, 22, QColor(0xff5a3a1a));
    ellipse(p, QRectF(32, 20, 16, 20), QColor(0xffe06010));
    ellipse(p, QRectF(36, 26, 8, 12), QColor(0xfff8e060));
}

void paintSkeleton(QPainter& p, Rng&)
{
    ellipse(p, QRectF(33, 14, 14, 14), QColor(0xffe8e0c8), QColor(0xff8a846a));
    dot(p, 36, 19, 3, QColor(0xff2a2a2a));
    dot(p, 41, 19, 3, QColor(0xff2a2a2a));
    line(p, QPointF(40, 28), QPointF(40, 52), QColor(0xffe8e0c8), 3);
    for (int y = 32; y < 46; y += 4)
        line(p, QPointF(32, y), QPointF(48, y), QColor(0xffe8e0c8), 2);
    line(p, QPointF(40, 52), QPointF(30, 68), QColor(0xffe8e0c8), 2);
    line(p, QPointF(40, 52), QPointF(50, 68), QColor(0xffe8e0c8), 2);
}

void paintAltar(QPainter& p, Rng&)
{
    box(p, QRect(12, 24, 56, 32), 0xffb8b4ac);
    p.fillRect(16, 28, 48, 4, QColor(0xff9a1e24));
    ellipse(p, QRectF(24, 36, 8, 12), QColor(0xfff8e060));
    ellipse(p, QRectF(48, 36, 8, 12), QColor(0xfff8e060));
}

void paintCoffin(QPainter& p, Rng&)
{
    polygon(p, QPolygon({QPoint(32, 6), QPoint(48, 6), QPoint(56, 22), QPoint(50, 74), QPoint(30, 74), QPoint(24, 22)}),
            QColor(0xff5a3a1a), QColor(0xff2a1808));
    line(p, QPointF(40, 18), QPointF(40, 44), QColor(0xffc8a030), 2);
    line(p, QPointF(33, 26), QPointF(47, 26), QColor(0xffc8a030), 2);
}

void paintPillar(QPainter& p, Rng&)
{
    shadow(p, QRectF(22, 24, 44, 44));
    ellipse(p, QRectF(18, 18, 44, 44), QColor(0xff8a8680), QColor(0xff3a3630));
    ellipse(p, QRectF(24, 24, 32, 32), QColor(0xffb8b4ac));
}

void paintRubble(QPainter& p, Rng& rng)
{
    for (int i = 0; i < 12; ++i) {
        const int x = rng.range(10, 60), y = rng.range(10, 60), r = rng.range(4, 10);
        polygon(p,
                QPolygon({QPoint(x, y + r), QPoint(x + r, y), QPoint(x + 2 * r, y + r), QPoint(x + r / 2, y + 2 * r)}),
                jitter(0xff7a766e, rng, 18), QColor(0xff3a3630));
    }
}

void paintWeb(QPainter& p, Rng&)
{
    p.setPen(QPen(QColor(0xffe8e8e8), 1));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 8; ++i)
        p.drawLine(QPointF(0, 0), QPointF(78 * std::cos(i * kPi / 16), 78 * std::sin(i * kPi / 16)));
    for (const int r : {16, 30, 44, 58})
        p.drawArc(QRect(-r, -r, 2 * r, 2 * r), -90 * 16, 90 * 16);
}

void paintCauldron(QPainter& p, Rng& rng)
{
    ellipse(p, QRectF(20, 20, 40, 40), QColor(0xff2a2a2e), QColor(0xff101012));
    ellipse(p, QRectF(26, 26, 28, 28), QColor(0xff4aa040));
    for (int i = 0; i < 5; ++i)
        ellipse(p, QRectF(rng.range(28, 46), rng.range(28, 46), 5, 5), QColor(0xff8ad070));
}

void paintCandles(QPainter& p, Rng&)
{
    for (int i = 0; i < 3; ++i) {
        const int x = 26 + i * 12, y = 34 + (i % 2) * 8;
        p.fillRect(x, y, 6, 14, QColor(0xfff0ecd8));
        ellipse(p, QRectF(x, y - 8, 6, 8), QColor(0xfff8c030));
    }
}

void paintTrapdoor(QPainter& p, Rng&)
{
    box(p, QRect(18, 18, 44, 44), 0xff6a4020);
    for (int x = 26; x < 62; x += 9)
        line(p, QPointF(x, 19), QPointF(x, 61), QColor(0xff3a2410));
    ellipse(p, QRectF(50, 36, 8, 8), QColor(0xff2a2a2a));
}

void paintLever(QPainter& p, Rng&)
{
    box(p, QRect(30, 44, 20, 14), 0xff5a5660);
    line(p, QPointF(40, 50), QPointF(54, 24), QColor(0xff8a8690), 3);
    ellipse(p, QRectF(50, 18, 10, 10), QColor(0xffb02020));
}

void paintBanner(QPainter& p, Rng&)
{
    p.fillRect(16, 10, 48, 4, QColor(0xff5a3a1a));
    polygon(p, QPolygon({QPoint(22, 14), QPoint(58, 14), QPoint(58, 60), QPoint(40, 50), QPoint(22, 60)}),
            QColor(0xff2a4a9a), QColor(0xff101a3a));
    ellipse(p, QRectF(34, 24, 12, 12), QColor(0xffd8b040));
}

void paintMushrooms(QPainter& p, Rng& rng)
{
    for (int i = 0; i < 5; ++i) {
        const int x = rng.range(14, 60), y = rng.range(20, 60);
        p.fillRect(x + 3, y + 4, 3, 6, QColor(0xffe8e0c8));
        ellipse(p, QRectF(x, y, 10, 7), QColor(0xffb03020));
        dot(p, x + 3, y + 2, 2, QColor(0xffffffff));
    }
}

void paintCrystal(QPainter& p, Rng&)
{
    for (int i = 0; i < 4; ++i) {
        const int x = 22 + i * 10, h = 22 + (i % 2) * 14;
        polygon(p, QPolygon({QPoint(x, 62), QPoint(x + 5, 62 - h), QPoint(x + 10, 62)}), QColor(0xff70c8e8),
                QColor(0xff2a6a8a));
        line(p, QPointF(x + 5, 62 - h), QPointF(x + 5, 62), QColor(0xffd8f4ff));
    }
}

struct ThingPainter {
    Thing thing;
    void (*paint)(QPainter&, Rng&);
};

// One painter per thing, in the order of the enumeration, which the check below holds.
constexpr ThingPainter kThingPainters[] = {
    {Thing::Oak, paintOak},
    {Thing::Pine, paintPine},
    {Thing::Bush, paintBush},
    {Thing::Rock, paintRock},
    {Thing::Boulder, paintBoulder},
    {Thing::Flowers, paintFlowers},
    {Thing::Well, paintWell},
    {Thing::Barrel, paintBarrel},
    {Thing::Crate, paintCrate},
    {Thing::LampPost, paintLampPost},
    {Thing::Bench, paintBench},
    {Thing::Signpost, paintSignpost},
    {Thing::Cart, paintCart},
    {Thing::Haystack, paintHaystack},
    {Thing::Stump, paintStump},
    {Thing::LogPile, paintLogPile},
    {Thing::Statue, paintStatue},
    {Thing::Fountain, paintFountain},
    {Thing::Bridge, paintBridge},
    {Thing::Stairs, paintStairs},
    {Thing::Stall, paintStall},
    {Thing::Tent, paintTent},
    {Thing::Campfire, paintCampfire},
    {Thing::WoodDoor, paintWoodDoor},
    {Thing::IronGate, paintIronGate},
    {Thing::Arch, paintArch},
    {Thing::Anvil, paintAnvil},
    {Thing::Table, paintTable},
    {Thing::Chair, paintChair},
    {Thing::Grave, paintGrave},
    {Thing::Chest, paintChest},
    {Thing::Bed, paintBed},
    {Thing::Bookshelf, paintBookshelf},
    {Thing::Throne, paintThrone},
    {Thing::Torch, paintTorch},
    {Thing::Skeleton, paintSkeleton},
    {Thing::StairsDown, paintStairsDown},
    {Thing::Altar, paintAltar},
    {Thing::Coffin, paintCoffin},
    {Thing::Pillar, paintPillar},
    {Thing::Rubble, paintRubble},
    {Thing::Web, paintWeb},
    {Thing::Cauldron, paintCauldron},
    {Thing::Candles, paintCandles},
    {Thing::Trapdoor, paintTrapdoor},
    {Thing::Lever, paintLever},
    {Thing::Banner, paintBanner},
    {Thing::Mushrooms, paintMushrooms},
    {Thing::Crystal, paintCrystal},
};

constexpr bool inEnumerationOrder()
{
    for (std::size_t i = 0; i < std::size(kThingPainters); ++i)
        if (static_cast<std::size_t>(kThingPainters[i].thing) != i)
            return false;
    return true;
}
static_assert(std::size(kThingPainters) == static_cast<std::size_t>(Thing::Crystal) + 1 && inEnumerationOrder());

}  // namespace

void paintThing(QPainter& p, Thing thing, Rng& rng) { kThingPainters[static_cast<std::size_t>(thing)].paint(p, rng); }

}  // namespace xemap::art
