// Painted scenes built from a library of elements: a sky for the time of day,
// a terrain, weather, and placed things (houses, trees, figures, creatures,
// runes). One SceneDesc describes a picture; PaintScene paints it at any size.
//
// Coordinates: an element's (x, y) is where it stands on the ground, as a
// fraction of the canvas width and height; `scale` 1 is its natural size on
// an 800x600 picture (a cottage is about 70 px wide, a figure about 60 px
// tall) and grows with the canvas width. Elements are painted in the order
// given, so list far things first. Things standing high up (near the
// horizon) take on the sky's haze automatically.
//
// Index: sky, terrain, weather · elements · scene · painting
#pragma once
#include <cstdint>
#include <vector>

#include "paint.h"

namespace qab {
namespace scene {

// ---- sky, terrain, weather ---------------------------------------------------------
enum class Sky {
    Dawn,    // rose and gold, low sun
    Day,     // clear blue, high sun
    Dusk,    // orange to violet, low sun
    Night,   // deep blue, moon and stars
    Violet,  // purple dusk with early stars
    Ember,   // dark red, smoke and glow (volcano)
    Deep,    // blue-green, under water light
    Winter,  // pale grey-blue overcast
    Storm,   // heavy grey-green overcast, no sun
};

enum class Terrain {
    Hills,      // green rolling hills
    Fields,     // golden fields in strips
    Coast,      // land on the left, sea to the right, cliffs
    Mountains,  // high peaks with snow caps
    Forest,     // tree-covered hills
    Marsh,      // pools and reeds
    Steppe,     // wide flat grassland
    Volcano,    // dark rock, a glowing cone and lava rivers
    Snow,       // snowy hills and a frozen river
    Flooded,    // still water over a stone floor
    Garden,     // lawn, paths and hedges
    Ruins,      // broken paving and rubble
};

enum class Weather { None, Snow, Rain, Mist, Leaves, Sparkle, Starfall, Embers, Bubbles };

// ---- elements ----------------------------------------------------------------------
enum class Kind {
    // Buildings and structures.
    Cottage, Mill, Windmill, Tower, Castle, Bridge, Boat, Lighthouse, Arch, Ruin, Gate,
    Observatory, HourglassTower, Boardwalk, Haystack, Fence, Wagon, Well,
    // Plants and ground things.
    TreeRound, TreePine, TreeWillow, TreeDead, TreeCrystal, Bush, Reeds, Rock, Flowers,
    // Figures and creatures.
    Apprentice,  // young, with a satchel
    Keeper,      // old rune-keeper, staff and beard
    Villager,    // variant picks the clothes
    Bird, Fox, Deer, Golem,
    Sheep,       // variant 1 lies asleep
    // Small things and magic.
    Banner, Lantern, Bookshelf, Book, RuneGem, RuneStone, Hourglass, Bunting,
};

// How a figure (Apprentice, Keeper, Villager) stands and what its hands do,
// so a picture can have it act out its page. The figure faces its own right
// (the canvas right unless flipped). Arm angles are radians from hanging
// straight down, growing towards the way the figure faces: pi/2 reaches
// straight ahead, pi straight up, negative angles swing behind it. Each arm
// has its shoulder (upper arm) and elbow (forearm) angle.
// Mask: a broken stone face, held up in the hand.
enum class Hold { None, Rune, Lantern, Book, Letter, Staff, Point, Open, Mask };
enum class Mood { Calm, Smile, Laugh, Sad, Asleep, Wonder, Stern, Tired };
struct Pose {
    bool set = false;       // false: the kind's own stance for its variant
    double turn = 0.35;     // 0 faces the viewer, 1 in profile towards its right
    double tilt = 0;        // head nod, radians; + bows towards its right
    double lean = 0;        // the body's lean from the hips, radians; + forwards
    double backUpper = 0.1, backFore = 0.3;   // the far arm
    double frontUpper = 0.1, frontFore = 0.3; // the near arm
    Hold backHold = Hold::None, frontHold = Hold::None;
    Mood mood = Mood::Calm;
    bool kneel = false;     // down on one knee
    bool sit = false;       // sitting on the ground, legs out in front
    int rune = 0;           // colour class of a held rune; 0: the figure's own
};

struct Element {
    Kind kind = Kind::Cottage;
    double x = 0.5, y = 0.7;  // ground point, fractions of the canvas
    double scale = 1.0;
    int variant = 0;          // shape or colour variant; for runes the colour class 1..15
    bool flip = false;        // mirrored left-right
    double haze = -1;         // 0..1 blend towards the sky; < 0: from the height
    bool lit = true;          // windows, lanterns and gems glow
    Pose pose;                // figures only
};

// ---- scene -------------------------------------------------------------------------
struct SceneDesc {
    Sky sky = Sky::Night;
    Terrain terrain = Terrain::Hills;
    Weather weather = Weather::None;
    bool autumn = false;      // trees and fields in red and gold
    double horizon = 0.58;    // fraction of the height
    double sunX = 0.75, sunY = 0.22;  // sun or moon; sunY < 0: none
    int clouds = 6;
    double wind = 0;          // leans clouds, rain and flags (-1..1)
    uint32_t seed = 1;
    std::vector<Element> elements;
};

// ---- painting ----------------------------------------------------------------------
// The whole picture: sky, terrain, elements, weather and a final light wash.
void PaintScene(Canvas& c, const SceneDesc& s);

// The steps, for pictures that put their own things between them.
void PaintSky(Canvas& c, const SceneDesc& s);
void PaintTerrain(Canvas& c, const SceneDesc& s);
void PaintElements(Canvas& c, const SceneDesc& s);
void PaintWeather(Canvas& c, const SceneDesc& s);

// One element on its own, lit by the scene's sky (e.g. a figure over a page).
void PaintElement(Canvas& c, const SceneDesc& s, const Element& e);

// The y (fraction of the height) to give an Element standing at fraction x:
// depth 0 is on the skyline of the nearest ground, 1 the bottom edge.
double GroundAt(const SceneDesc& s, double x, double depth = 0);
// The same in pixels of canvas c, at canvas x in pixels, depth 0.
double GroundY(const Canvas& c, const SceneDesc& s, double x);

}  // namespace scene
}  // namespace qab
