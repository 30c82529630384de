// The quest map: an old painted map of Velmora laid out from the map file
// itself (assets/data/settings/map.tsc), so the road runs exactly through the
// markers the game draws, and one small framed vignette per region.
//
// Index: the map file · geometry (road, river, distance fields) · little
//        painted things · regions · the map picture · vignettes · recipes
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "artkit.h"
#include "builder.h"
#include "config/tsc_file.h"
#include "datasrc.hpp"

namespace qab {
namespace {

constexpr int kW = 800, kH = 600;
constexpr int kStripTop = 556;  // "level N of M" and the two buttons live below
constexpr int kStages = 13;
constexpr double kRoadHalf = 7.5;

// ---- the map file -----------------------------------------------------------------------------------------
struct Marker {
    int number = 0, stage = 0, kind = 0;
    double x = 0, y = 0;
};
struct StageSpot {
    int number = 0, x = 0, y = 0;
};
struct Layout {
    std::vector<Marker> markers;  // in level order
    std::vector<StageSpot> stages;
};

std::string MapFile() { return DataSourceDir() + "/settings/map.tsc"; }

Layout ReadLayout(const std::string& path) {
    TTSCFile f;
    f.Load(path);
    Layout l;
    // The lists kept in locals: a range-for over a temporary would outlive it.
    const auto levels = f.GetGroupList("Levels"), stages = f.GetGroupList("Stages");
    for (const TTSCGroupPtr& g : *levels) {
        const std::string p = "Levels::" + g->name;
        Marker m;
        m.number = static_cast<int>(f.GetNumberKey(p, "Number", 0));
        m.stage = static_cast<int>(f.GetNumberKey(p, "Stage", 0));
        m.kind = static_cast<int>(f.GetNumberKey(p, "Kind", 0));
        m.x = f.GetNumberKey(p, "X", 0);
        m.y = f.GetNumberKey(p, "Y", 0);
        l.markers.push_back(m);
    }
    for (const TTSCGroupPtr& g : *stages) {
        const std::string p = "Stages::" + g->name;
        l.stages.push_back({static_cast<int>(f.GetNumberKey(p, "Number", 0)),
                            static_cast<int>(f.GetNumberKey(p, "X", 0)), static_cast<int>(f.GetNumberKey(p, "Y", 0))});
    }
    std::stable_sort(l.markers.begin(), l.markers.end(),
                     [](const Marker& a, const Marker& b) { return a.number < b.number; });
    if (l.markers.size() < 2) throw std::runtime_error(path + ": the map needs at least two level markers");
    for (const Marker& m : l.markers)
        if (m.stage < 1 || m.stage > kStages)
            throw std::runtime_error(path + ": level " + std::to_string(m.number) + " names stage " +
                                     std::to_string(m.stage) + ", outside 1.." + std::to_string(kStages));
    return l;
}

std::string FileDigestText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    char b[17];
    std::snprintf(b, sizeof b, "%016llx", static_cast<unsigned long long>(Hash64(bytes)));
    return b;
}

// ---- geometry ---------------------------------------------------------------------------------------------
struct Pt {
    double x = 0, y = 0;
};
Pt Lerp(Pt a, Pt b, double t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }
double Dist(Pt a, Pt b) { return std::hypot(a.x - b.x, a.y - b.y); }

// A Catmull-Rom curve through every point, in steps of about a pixel.
std::vector<Pt> Smooth(const std::vector<Pt>& p) {
    std::vector<Pt> out;
    for (size_t i = 0; i + 1 < p.size(); ++i) {
        const Pt p0 = p[i > 0 ? i - 1 : i], p1 = p[i], p2 = p[i + 1], p3 = p[i + 2 < p.size() ? i + 2 : i + 1];
        const int steps = std::max(2, static_cast<int>(Dist(p1, p2)));
        for (int s = 0; s < steps; ++s) {
            const double t = static_cast<double>(s) / steps, t2 = t * t, t3 = t2 * t;
            auto f = [&](double a, double b, double c, double d) {
                return 0.5 * (2 * b + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t2 + (-a + 3 * b - 3 * c + d) * t3);
            };
            out.push_back({f(p0.x, p1.x, p2.x, p3.x), f(p0.y, p1.y, p2.y, p3.y)});
        }
    }
    out.push_back(p.back());
    return out;
}

void PathOf(cairo_t* cr, const std::vector<Pt>& pts) {
    cairo_new_path(cr);
    for (size_t i = 0; i < pts.size(); ++i) {
        if (i == 0) cairo_move_to(cr, pts[i].x, pts[i].y);
        else cairo_line_to(cr, pts[i].x, pts[i].y);
    }
}

// Distance in pixels to the nearest of a set of points (two-pass chamfer,
// close enough to round for keeping things off the road).
struct Field {
    std::vector<float> d = std::vector<float>(kW * kH, 1e6f);
    float At(double x, double y) const {
        const int ix = std::clamp(static_cast<int>(x), 0, kW - 1), iy = std::clamp(static_cast<int>(y), 0, kH - 1);
        return d[static_cast<size_t>(iy * kW + ix)];
    }
};
Field DistanceTo(const std::vector<Pt>& pts) {
    Field f;
    for (const Pt& p : pts) {
        const int x = static_cast<int>(std::lround(p.x)), y = static_cast<int>(std::lround(p.y));
        if (x >= 0 && y >= 0 && x < kW && y < kH) f.d[static_cast<size_t>(y * kW + x)] = 0;
    }
    const float a = 1.0f, b = 1.4142f;
    auto at = [&](int x, int y) -> float& { return f.d[static_cast<size_t>(y * kW + x)]; };
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            float& v = at(x, y);
            if (x > 0) v = std::min(v, at(x - 1, y) + a);
            if (y > 0) {
                v = std::min(v, at(x, y - 1) + a);
                if (x > 0) v = std::min(v, at(x - 1, y - 1) + b);
                if (x + 1 < kW) v = std::min(v, at(x + 1, y - 1) + b);
            }
        }
    for (int y = kH - 1; y >= 0; --y)
        for (int x = kW - 1; x >= 0; --x) {
            float& v = at(x, y);
            if (x + 1 < kW) v = std::min(v, at(x + 1, y) + a);
            if (y + 1 < kH) {
                v = std::min(v, at(x, y + 1) + a);
                if (x + 1 < kW) v = std::min(v, at(x + 1, y + 1) + b);
                if (x > 0) v = std::min(v, at(x - 1, y + 1) + b);
            }
        }
    return f;
}

// The coasts: a misty sea along the west edge, the open sea along the
// east edge, frozen in the south where Frostmarch's cold reaches the shore.
double EastCoast(double y, uint32_t seed) { return 771 + 9 * (Fbm(y / 38.0, 3.1, 3, seed + 11) - 0.5) * 2; }
double WestCoast(double y, uint32_t seed) { return 22 + 7 * (Fbm(y / 34.0, 7.7, 3, seed + 12) - 0.5) * 2; }
bool IsSea(double x, double y, uint32_t seed) { return x > EastCoast(y, seed) || x < WestCoast(y, seed); }

// The road: through every marker in level order, with a gentle sway between
// two markers so it reads as a country road rather than a ruled line. The
// sway is kept small: the markers sit on the road's crown.
std::vector<Pt> RoadControl(const Layout& l) {
    std::vector<Pt> p;
    for (size_t i = 0; i < l.markers.size(); ++i) {
        const Pt a{l.markers[i].x, l.markers[i].y};
        p.push_back(a);
        if (i + 1 == l.markers.size()) break;
        const Pt b{l.markers[i + 1].x, l.markers[i + 1].y};
        const double len = std::max(1.0, Dist(a, b)), sway = (i % 2 ? 1.6 : -1.6);
        Pt m = Lerp(a, b, 0.5);
        m.x += -(b.y - a.y) / len * sway;
        m.y += (b.x - a.x) / len * sway;
        p.push_back(m);
    }
    return p;
}

// Where the river meets the road: the middle between the two consecutive
// markers nearest a wished-for spot, so a bridge always shows in a gap.
struct Crossing {
    Pt at, along;  // along: unit vector of the road there
};
Crossing CrossingNear(const Layout& l, Pt want) {
    size_t best = 0;
    double bestD = 1e9;
    for (size_t i = 0; i + 1 < l.markers.size(); ++i) {
        const Pt m = Lerp({l.markers[i].x, l.markers[i].y}, {l.markers[i + 1].x, l.markers[i + 1].y}, 0.5);
        if (Dist(m, want) < bestD) bestD = Dist(m, want), best = i;
    }
    const Pt a{l.markers[best].x, l.markers[best].y}, b{l.markers[best + 1].x, l.markers[best + 1].y};
    const double len = std::max(1.0, Dist(a, b));
    return {Lerp(a, b, 0.5), {(b.x - a.x) / len, (b.y - a.y) / len}};
}

// One river from the northern hills to the eastern sea; it crosses the road
// four times, always square to it.
std::vector<Crossing> RiverCrossings(const Layout& l) {
    return {CrossingNear(l, {522, 90}), CrossingNear(l, {565, 220}), CrossingNear(l, {593, 350}),
            CrossingNear(l, {740, 422})};
}
std::vector<Pt> RiverControl(const std::vector<Crossing>& xs) {
    std::vector<Pt> p{{498, -6}, {510, 30}};
    for (size_t i = 0; i < xs.size(); ++i) {
        const Crossing& c = xs[i];
        // Square to the road: in along the road's normal, out the other side.
        Pt n{-c.along.y, c.along.x};
        if (n.y < 0 || (std::abs(n.y) < 0.3 && n.x < 0)) n = {-n.x, -n.y};
        p.push_back({c.at.x - n.x * 18, c.at.y - n.y * 18});
        p.push_back(c.at);
        p.push_back({c.at.x + n.x * 18, c.at.y + n.y * 18});
        if (i == 0) p.push_back({532, 152});
        if (i == 1) p.push_back({586, 284});
        if (i == 2) p.push_back({668, 398});
    }
    p.push_back({790, 428});
    p.push_back({812, 430});
    return p;
}

// ---- little painted things ---------------------------------------------------------------------------------
// Every thing stands on its ground point (x, y) and is about s pixels tall,
// outlined in brown ink and washed in the region's colours, as on an old map.
const RGB kInk = Hex(0x3a2410);
const RGB kRoad = Hex(0xf3dfae);
const RGB kRoadEdge = Hex(0x6e4826);
const RGB kWater = Hex(0x6f9fb4);
const RGB kWaterDeep = Hex(0x3f6f8a);
const RGB kIce = Hex(0xd4e6ef);

void InkStroke(cairo_t* cr, double w, double a = 0.9) {
    SetColor(cr, kInk, a);
    cairo_set_line_width(cr, w);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}
void Fill(cairo_t* cr, RGB c, double a = 1.0, bool keep = true) {
    SetColor(cr, c, a);
    if (keep) cairo_fill_preserve(cr);
    else cairo_fill(cr);
}
void GroundShadow(cairo_t* cr, double x, double y, double w) {
    cairo_save(cr);
    cairo_translate(cr, x + w * 0.15, y);
    cairo_scale(cr, 1, 0.32);
    cairo_arc(cr, 0, 0, w * 0.55, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColor(cr, Hex(0x2a1a08), 0.22);
    cairo_fill(cr);
}

void TreeRound(cairo_t* cr, double x, double y, double s, RGB leaf) {
    GroundShadow(cr, x, y, s * 0.6);
    cairo_new_path(cr);
    cairo_rectangle(cr, x - s * 0.06, y - s * 0.4, s * 0.12, s * 0.4);
    Fill(cr, Hex(0x6a4424));
    InkStroke(cr, 0.8);
    cairo_arc(cr, x, y - s * 0.62, s * 0.36, 0, 2 * M_PI);
    Fill(cr, leaf);
    InkStroke(cr, 1.0);
    cairo_arc(cr, x - s * 0.1, y - s * 0.72, s * 0.15, 0, 2 * M_PI);
    Fill(cr, Lighter(leaf, 0.35), 0.7, false);
}
void TreePine(cairo_t* cr, double x, double y, double s, RGB leaf, bool snow) {
    GroundShadow(cr, x, y, s * 0.45);
    for (int k = 0; k < 3; ++k) {
        const double top = y - s * (1.0 - k * 0.22), base = y - s * (0.45 - k * 0.17), w = s * (0.22 + k * 0.07);
        cairo_new_path(cr);
        cairo_move_to(cr, x, top);
        cairo_line_to(cr, x + w, base);
        cairo_line_to(cr, x - w, base);
        cairo_close_path(cr);
        Fill(cr, Darker(leaf, k * 0.08));
        InkStroke(cr, 0.9);
        if (snow) {
            cairo_move_to(cr, x, top + 0.5);
            cairo_line_to(cr, x + w * 0.45, top + (base - top) * 0.45);
            cairo_line_to(cr, x - w * 0.45, top + (base - top) * 0.45);
            cairo_close_path(cr);
            Fill(cr, Hex(0xf6f9fc), 0.95, false);
        }
    }
    cairo_rectangle(cr, x - s * 0.04, y - s * 0.14, s * 0.08, s * 0.14);
    Fill(cr, Hex(0x5a3a1e), 1, false);
}
void Willow(cairo_t* cr, double x, double y, double s) {
    GroundShadow(cr, x, y, s * 0.7);
    cairo_move_to(cr, x, y);
    cairo_curve_to(cr, x - s * 0.05, y - s * 0.4, x + s * 0.05, y - s * 0.6, x, y - s * 0.8);
    SetColor(cr, Hex(0x5a3a1e));
    cairo_set_line_width(cr, s * 0.08);
    cairo_stroke(cr);
    for (int k = -3; k <= 3; ++k) {
        const double ox = k * s * 0.12;
        cairo_move_to(cr, x + ox * 0.3, y - s * 0.85);
        cairo_curve_to(cr, x + ox, y - s * 0.9, x + ox * 1.5, y - s * 0.6, x + ox * 1.4, y - s * 0.2);
        SetColor(cr, Mix(Hex(0x6f8f3a), Hex(0x9ab85a), (k + 3) / 6.0));
        cairo_set_line_width(cr, s * 0.09);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
    }
}
void CrystalTree(cairo_t* cr, double x, double y, double s, double hue) {
    GroundShadow(cr, x, y, s * 0.5);
    RadialGlow(cr, x, y - s * 0.55, s * 0.7, Hsv(hue, 0.3, 1), 0.35);
    const double spikes[5][3] = {{0, 1.0, 0.16}, {-0.22, 0.72, 0.12}, {0.22, 0.78, 0.12}, {-0.38, 0.5, 0.09},
                                 {0.36, 0.52, 0.09}};
    for (const auto& sp : spikes) {
        const double cx = x + sp[0] * s, top = y - sp[1] * s, w = sp[2] * s;
        cairo_new_path(cr);
        cairo_move_to(cr, cx, top);
        cairo_line_to(cr, cx + w, y - s * 0.18);
        cairo_line_to(cr, cx, y - s * 0.02);
        cairo_line_to(cr, cx - w, y - s * 0.18);
        cairo_close_path(cr);
        Fill(cr, Hsv(hue, 0.45, 0.9));
        InkStroke(cr, 0.8, 0.8);
        cairo_move_to(cr, cx, top + 1);
        cairo_line_to(cr, cx - w * 0.6, y - s * 0.2);
        cairo_line_to(cr, cx, y - s * 0.06);
        cairo_close_path(cr);
        Fill(cr, Hsv(hue, 0.15, 1), 0.75, false);
    }
}
void Cottage(cairo_t* cr, double x, double y, double s, RGB roof, bool lit) {
    GroundShadow(cr, x, y, s * 0.8);
    const double w = s * 0.9, h = s * 0.45;
    cairo_new_path(cr);
    cairo_rectangle(cr, x - w / 2, y - h, w, h);
    Fill(cr, Hex(0xe8d8b8));
    InkStroke(cr, 0.9);
    cairo_move_to(cr, x - w / 2 - s * 0.08, y - h);
    cairo_line_to(cr, x - w * 0.2, y - s * 0.95);
    cairo_line_to(cr, x + w * 0.3, y - s * 0.95);
    cairo_line_to(cr, x + w / 2 + s * 0.08, y - h);
    cairo_close_path(cr);
    Fill(cr, roof);
    InkStroke(cr, 0.9);
    cairo_rectangle(cr, x - w * 0.25, y - h * 0.7, s * 0.14, s * 0.14);
    Fill(cr, lit ? Hex(0xffc850) : Hex(0x5a4a3a), 1, false);
    cairo_rectangle(cr, x + w * 0.12, y - h * 0.75, s * 0.12, h * 0.75);
    Fill(cr, Hex(0x6a4424), 1, false);
}
void Windmill(cairo_t* cr, double x, double y, double s) {
    GroundShadow(cr, x, y, s * 0.5);
    cairo_new_path(cr);
    cairo_move_to(cr, x - s * 0.2, y);
    cairo_line_to(cr, x - s * 0.12, y - s * 0.6);
    cairo_line_to(cr, x + s * 0.12, y - s * 0.6);
    cairo_line_to(cr, x + s * 0.2, y);
    cairo_close_path(cr);
    Fill(cr, Hex(0xeadcc0));
    InkStroke(cr, 0.9);
    cairo_arc(cr, x, y - s * 0.62, s * 0.14, M_PI, 2 * M_PI);
    Fill(cr, Hex(0xa8432a));
    InkStroke(cr, 0.8);
    for (int k = 0; k < 4; ++k) {
        const double a = k * M_PI / 2 + 0.4;
        const double ex = x + std::cos(a) * s * 0.42, ey = y - s * 0.62 + std::sin(a) * s * 0.42;
        cairo_move_to(cr, x, y - s * 0.62);
        cairo_line_to(cr, ex, ey);
        InkStroke(cr, 1.0);
        const double px = -std::sin(a) * s * 0.07, py = std::cos(a) * s * 0.07;
        cairo_move_to(cr, x + std::cos(a) * s * 0.12, y - s * 0.62 + std::sin(a) * s * 0.12);
        cairo_line_to(cr, ex, ey);
        cairo_line_to(cr, ex + px, ey + py);
        cairo_line_to(cr, x + std::cos(a) * s * 0.12 + px, y - s * 0.62 + std::sin(a) * s * 0.12 + py);
        cairo_close_path(cr);
        Fill(cr, Hex(0xf4ead4), 0.9);
        InkStroke(cr, 0.6, 0.7);
    }
}
void WaterMill(cairo_t* cr, double x, double y, double s) {
    Cottage(cr, x + s * 0.15, y, s * 0.9, Hex(0x8a4a2a), true);
    cairo_new_path(cr);
    cairo_arc(cr, x - s * 0.38, y - s * 0.25, s * 0.26, 0, 2 * M_PI);
    Fill(cr, Hex(0x8a6a44));
    InkStroke(cr, 1.0);
    for (int k = 0; k < 6; ++k) {
        const double a = k * M_PI / 3;
        cairo_move_to(cr, x - s * 0.38, y - s * 0.25);
        cairo_line_to(cr, x - s * 0.38 + std::cos(a) * s * 0.26, y - s * 0.25 + std::sin(a) * s * 0.26);
        InkStroke(cr, 0.7);
    }
}
void Well(cairo_t* cr, double x, double y, double s) {
    GroundShadow(cr, x, y, s * 0.5);
    cairo_new_path(cr);
    cairo_rectangle(cr, x - s * 0.25, y - s * 0.3, s * 0.5, s * 0.3);
    Fill(cr, pal::stoneLight);
    InkStroke(cr, 0.8);
    cairo_move_to(cr, x - s * 0.3, y - s * 0.62);
    cairo_line_to(cr, x, y - s * 0.85);
    cairo_line_to(cr, x + s * 0.3, y - s * 0.62);
    cairo_close_path(cr);
    Fill(cr, Hex(0xa8432a));
    InkStroke(cr, 0.8);
    cairo_move_to(cr, x - s * 0.2, y - s * 0.3);
    cairo_line_to(cr, x - s * 0.2, y - s * 0.65);
    cairo_move_to(cr, x + s * 0.2, y - s * 0.3);
    cairo_line_to(cr, x + s * 0.2, y - s * 0.65);
    InkStroke(cr, 1.0);
}
void FieldPatch(cairo_t* cr, double x, double y, double s, Rng& rng) {
    cairo_save(cr);
    cairo_translate(cr, x, y - s * 0.25);
    cairo_scale(cr, 1, 0.5);
    cairo_rotate(cr, rng.Range(-0.3, 0.3));
    for (int k = 0; k < 4; ++k) {
        cairo_rectangle(cr, -s * 0.6, -s * 0.5 + k * s * 0.25, s * 1.2, s * 0.25);
        SetColor(cr, k % 2 ? Hex(0xe6b84a) : Hex(0xc89a3a), 0.85);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, -s * 0.6, -s * 0.5, s * 1.2, s);
    cairo_restore(cr);
    InkStroke(cr, 0.8, 0.7);
}
void Haystack(cairo_t* cr, double x, double y, double s) {
    GroundShadow(cr, x, y, s * 0.5);
    cairo_new_path(cr);
    cairo_move_to(cr, x - s * 0.3, y);
    cairo_curve_to(cr, x - s * 0.3, y - s * 0.5, x + s * 0.3, y - s * 0.5, x + s * 0.3, y);
    cairo_close_path(cr);
    Fill(cr, Hex(0xe2b04a));
    InkStroke(cr, 0.8);
}
void Reeds(cairo_t* cr, double x, double y, double s) {
    for (int k = -2; k <= 2; ++k) {
        cairo_move_to(cr, x + k * s * 0.1, y);
        cairo_line_to(cr, x + k * s * 0.16, y - s * (0.6 + 0.1 * (k % 2)));
        SetColor(cr, Hex(0x4f6a2a));
        cairo_set_line_width(cr, 1.1);
        cairo_stroke(cr);
    }
    cairo_save(cr);
    cairo_translate(cr, x + s * 0.1, y - s * 0.55);
    cairo_scale(cr, 0.5, 1);
    cairo_arc(cr, 0, 0, s * 0.1, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColor(cr, Hex(0x6a3a1a));
    cairo_fill(cr);
}
void Pool(cairo_t* cr, double x, double y, double s, RGB water) {
    cairo_save(cr);
    cairo_translate(cr, x, y - s * 0.2);
    cairo_scale(cr, 1, 0.45);
    cairo_arc(cr, 0, 0, s * 0.6, 0, 2 * M_PI);
    cairo_restore(cr);
    Fill(cr, water, 0.9);
    InkStroke(cr, 0.9, 0.7);
    cairo_move_to(cr, x - s * 0.25, y - s * 0.22);
    cairo_line_to(cr, x + s * 0.1, y - s * 0.22);
    SetColor(cr, Hex(0xffffff), 0.5);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}
void Tower(cairo_t* cr, double x, double y, double s, RGB body, RGB roof, bool broken) {
    GroundShadow(cr, x, y, s * 0.4);
    cairo_new_path(cr);
    const double w = s * 0.22;
    cairo_move_to(cr, x - w, y);
    cairo_line_to(cr, x - w * 0.9, y - s * 0.72);
    if (broken) {
        cairo_line_to(cr, x - w * 0.3, y - s * 0.62);
        cairo_line_to(cr, x + w * 0.2, y - s * 0.8);
        cairo_line_to(cr, x + w * 0.9, y - s * 0.55);
    } else {
        cairo_line_to(cr, x + w * 0.9, y - s * 0.72);
    }
    cairo_line_to(cr, x + w, y);
    cairo_close_path(cr);
    Fill(cr, body);
    InkStroke(cr, 0.9);
    if (!broken) {
        cairo_move_to(cr, x - w * 1.15, y - s * 0.72);
        cairo_line_to(cr, x, y - s);
        cairo_line_to(cr, x + w * 1.15, y - s * 0.72);
        cairo_close_path(cr);
        Fill(cr, roof);
        InkStroke(cr, 0.9);
    }
    cairo_rectangle(cr, x - w * 0.3, y - s * 0.55, w * 0.6, s * 0.12);
    Fill(cr, Hex(0x2a2018), 0.8, false);
}
void Lighthouse(cairo_t* cr, double x, double y, double s) {
    RadialGlow(cr, x, y - s * 0.86, s * 0.6, Hex(0xfff0a0), 0.6);
    GroundShadow(cr, x, y, s * 0.4);
    cairo_new_path(cr);
    cairo_move_to(cr, x - s * 0.16, y);
    cairo_line_to(cr, x - s * 0.09, y - s * 0.75);
    cairo_line_to(cr, x + s * 0.09, y - s * 0.75);
    cairo_line_to(cr, x + s * 0.16, y);
    cairo_close_path(cr);
    Fill(cr, Hex(0xf2ece0));
    cairo_save(cr);
    cairo_clip_preserve(cr);
    for (int k = 0; k < 3; ++k) {
        cairo_rectangle(cr, x - s * 0.2, y - s * (0.2 + 0.22 * k), s * 0.4, s * 0.1);
        SetColor(cr, Hex(0xb0382a));
        cairo_fill(cr);
    }
    cairo_restore(cr);
    InkStroke(cr, 0.9);
    cairo_rectangle(cr, x - s * 0.08, y - s * 0.88, s * 0.16, s * 0.13);
    Fill(cr, Hex(0xffe070));
    InkStroke(cr, 0.8);
    cairo_move_to(cr, x - s * 0.12, y - s * 0.88);
    cairo_line_to(cr, x, y - s);
    cairo_line_to(cr, x + s * 0.12, y - s * 0.88);
    cairo_close_path(cr);
    Fill(cr, Hex(0x3a3a48));
    InkStroke(cr, 0.8);
}
void Columns(cairo_t* cr, double x, double y, double s) {
    GroundShadow(cr, x, y, s * 0.8);
    const double hs[3] = {0.8, 0.5, 0.65};
    for (int k = 0; k < 3; ++k) {
        const double cx = x + (k - 1) * s * 0.3;
        cairo_new_path(cr);
        cairo_rectangle(cr, cx - s * 0.07, y - s * hs[k], s * 0.14, s * hs[k]);
        Fill(cr, Hex(0xd8d2c4));
        InkStroke(cr, 0.8);
    }
    cairo_rectangle(cr, x - s * 0.42, y - s * 0.84, s * 0.5, s * 0.07);
    Fill(cr, Hex(0xc8c0b0));
    InkStroke(cr, 0.8);
}
void Arch(cairo_t* cr, double x, double y, double s, RGB body, RGB glow) {
    if (glow.r + glow.g + glow.b > 0) RadialGlow(cr, x, y - s * 0.4, s * 0.55, glow, 0.55);
    GroundShadow(cr, x, y, s * 0.8);
    cairo_new_path(cr);
    cairo_move_to(cr, x - s * 0.45, y);
    cairo_line_to(cr, x - s * 0.45, y - s * 0.55);
    cairo_arc(cr, x, y - s * 0.55, s * 0.45, M_PI, 2 * M_PI);
    cairo_line_to(cr, x + s * 0.45, y);
    cairo_line_to(cr, x + s * 0.25, y);
    cairo_line_to(cr, x + s * 0.25, y - s * 0.55);
    cairo_arc_negative(cr, x, y - s * 0.55, s * 0.25, 2 * M_PI, M_PI);
    cairo_line_to(cr, x - s * 0.25, y);
    cairo_close_path(cr);
    Fill(cr, body);
    InkStroke(cr, 1.0);
}
void Mountain(cairo_t* cr, double x, double y, double s, RGB body, bool snow) {
    cairo_new_path(cr);
    cairo_move_to(cr, x - s * 0.75, y);
    cairo_line_to(cr, x - s * 0.1, y - s);
    cairo_line_to(cr, x + s * 0.15, y - s * 0.8);
    cairo_line_to(cr, x + s * 0.3, y - s * 0.9);
    cairo_line_to(cr, x + s * 0.75, y);
    cairo_close_path(cr);
    Fill(cr, body);
    InkStroke(cr, 1.0);
    // The shaded flank, hatched as the old map-makers did.
    cairo_move_to(cr, x - s * 0.1, y - s);
    cairo_line_to(cr, x + s * 0.05, y);
    cairo_line_to(cr, x + s * 0.75, y);
    cairo_line_to(cr, x + s * 0.3, y - s * 0.9);
    cairo_line_to(cr, x + s * 0.15, y - s * 0.8);
    cairo_close_path(cr);
    Fill(cr, Darker(body, 0.25), 0.8, false);
    if (snow) {
        cairo_move_to(cr, x - s * 0.1, y - s);
        cairo_line_to(cr, x - s * 0.3, y - s * 0.68);
        cairo_line_to(cr, x - s * 0.12, y - s * 0.74);
        cairo_line_to(cr, x, y - s * 0.64);
        cairo_line_to(cr, x + s * 0.15, y - s * 0.8);
        cairo_close_path(cr);
        Fill(cr, Hex(0xfafcff), 1, false);
    }
}
void Volcano(cairo_t* cr, double x, double y, double s) {
    RadialGlow(cr, x, y - s * 0.85, s * 0.6, Hex(0xff8030), 0.7);
    cairo_new_path(cr);
    cairo_move_to(cr, x - s * 0.8, y);
    cairo_line_to(cr, x - s * 0.18, y - s * 0.85);
    cairo_line_to(cr, x + s * 0.18, y - s * 0.85);
    cairo_line_to(cr, x + s * 0.8, y);
    cairo_close_path(cr);
    Fill(cr, Hex(0x5a3a30));
    InkStroke(cr, 1.0);
    cairo_move_to(cr, x - s * 0.05, y - s * 0.85);
    cairo_curve_to(cr, x - s * 0.15, y - s * 0.5, x + s * 0.1, y - s * 0.4, x - s * 0.05, y);
    SetColor(cr, Hex(0xff7a20), 0.9);
    cairo_set_line_width(cr, s * 0.07);
    cairo_stroke(cr);
    for (int k = 0; k < 3; ++k) {
        cairo_arc(cr, x + k * s * 0.12, y - s * (1.0 + k * 0.16), s * (0.1 + k * 0.04), 0, 2 * M_PI);
        SetColor(cr, Hex(0x6a6060), 0.45);
        cairo_fill(cr);
    }
}
void Rock(cairo_t* cr, double x, double y, double s, RGB body) {
    cairo_new_path(cr);
    cairo_move_to(cr, x - s * 0.4, y);
    cairo_line_to(cr, x - s * 0.3, y - s * 0.3);
    cairo_line_to(cr, x, y - s * 0.42);
    cairo_line_to(cr, x + s * 0.35, y - s * 0.25);
    cairo_line_to(cr, x + s * 0.42, y);
    cairo_close_path(cr);
    Fill(cr, body);
    InkStroke(cr, 0.8);
}
void Tuft(cairo_t* cr, double x, double y, double s, RGB c) {
    for (int k = -2; k <= 2; ++k) {
        cairo_move_to(cr, x + k * s * 0.06, y);
        cairo_line_to(cr, x + k * s * 0.2, y - s * (0.35 - 0.05 * std::abs(k)));
    }
    SetColor(cr, c, 0.85);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}
void LanternPost(cairo_t* cr, double x, double y, double s, bool lit) {
    if (lit) RadialGlow(cr, x + s * 0.12, y - s * 0.78, s * 0.45, Hex(0xffc050), 0.75);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x, y - s * 0.9);
    cairo_line_to(cr, x + s * 0.15, y - s * 0.9);
    InkStroke(cr, 1.3);
    cairo_rectangle(cr, x + s * 0.06, y - s * 0.84, s * 0.14, s * 0.16);
    Fill(cr, lit ? Hex(0xffd060) : Hex(0x3a3440));
    InkStroke(cr, 0.8);
}
void Tent(cairo_t* cr, double x, double y, double s) {
    GroundShadow(cr, x, y, s * 0.8);
    cairo_new_path(cr);
    cairo_move_to(cr, x - s * 0.5, y);
    cairo_curve_to(cr, x - s * 0.45, y - s * 0.5, x - s * 0.2, y - s * 0.6, x, y - s * 0.62);
    cairo_curve_to(cr, x + s * 0.2, y - s * 0.6, x + s * 0.45, y - s * 0.5, x + s * 0.5, y);
    cairo_close_path(cr);
    Fill(cr, Hex(0xd8c49a));
    InkStroke(cr, 0.9);
    cairo_move_to(cr, x - s * 0.1, y);
    cairo_line_to(cr, x, y - s * 0.3);
    cairo_line_to(cr, x + s * 0.1, y);
    Fill(cr, Hex(0x8a3a2a), 1, false);
}
void Observatory(cairo_t* cr, double x, double y, double s) {
    GroundShadow(cr, x, y, s * 0.7);
    cairo_new_path(cr);
    cairo_rectangle(cr, x - s * 0.3, y - s * 0.5, s * 0.6, s * 0.5);
    Fill(cr, Hex(0xd8d4cc));
    InkStroke(cr, 0.9);
    cairo_arc(cr, x, y - s * 0.5, s * 0.32, M_PI, 2 * M_PI);
    cairo_close_path(cr);
    Fill(cr, Hex(0x6a78b8));
    InkStroke(cr, 0.9);
    cairo_move_to(cr, x + s * 0.05, y - s * 0.7);
    cairo_line_to(cr, x + s * 0.42, y - s * 0.98);
    SetColor(cr, Hex(0x4a3a2a));
    cairo_set_line_width(cr, s * 0.09);
    cairo_stroke(cr);
    Star(cr, x - s * 0.4, y - s * 1.0, s * 0.12, s * 0.04, 4);
    SetColor(cr, Hex(0xfff4c0));
    cairo_fill(cr);
}
void Castle(cairo_t* cr, double x, double y, double s) {
    GroundShadow(cr, x, y, s);
    RGB wall = Hex(0xe4dccb), roof = Hex(0x5a6ab0);
    cairo_new_path(cr);
    cairo_rectangle(cr, x - s * 0.55, y - s * 0.45, s * 1.1, s * 0.45);
    Fill(cr, wall);
    InkStroke(cr, 0.9);
    for (int k = 0; k < 5; ++k) {
        cairo_rectangle(cr, x - s * 0.55 + k * s * 0.25, y - s * 0.52, s * 0.1, s * 0.08);
        Fill(cr, wall);
        InkStroke(cr, 0.7);
    }
    Tower(cr, x - s * 0.5, y, s * 0.85, wall, roof, false);
    Tower(cr, x + s * 0.5, y, s * 0.85, wall, roof, false);
    Tower(cr, x, y - s * 0.2, s * 0.95, wall, roof, false);
    cairo_arc(cr, x, y - s * 0.1, s * 0.1, M_PI, 2 * M_PI);
    cairo_line_to(cr, x + s * 0.1, y);
    cairo_line_to(cr, x - s * 0.1, y);
    cairo_close_path(cr);
    Fill(cr, Hex(0x4a3020), 1, false);
    // A pale crown of light over the keep.
    Star(cr, x, y - s * 1.32, s * 0.12, s * 0.05, 5, -M_PI / 2);
    SetColor(cr, Hex(0xfff0b0));
    cairo_fill(cr);
}
void StoneRing(cairo_t* cr, double x, double y, double s, bool ice) {
    cairo_save(cr);
    cairo_translate(cr, x, y - s * 0.2);
    cairo_scale(cr, 1, 0.4);
    cairo_arc(cr, 0, 0, s * 0.6, 0, 2 * M_PI);
    cairo_restore(cr);
    Fill(cr, ice ? Hex(0xdceaf2) : Hex(0xb8c890), 0.8);
    InkStroke(cr, 0.7, 0.6);
    for (int k = 0; k < 8; ++k) {
        const double a = k * M_PI / 4;
        const double sx = x + std::cos(a) * s * 0.5, sy = y - s * 0.2 + std::sin(a) * s * 0.2;
        cairo_new_path(cr);
        cairo_rectangle(cr, sx - s * 0.05, sy - s * 0.25, s * 0.1, s * 0.25);
        Fill(cr, Hex(0x9a98a0));
        InkStroke(cr, 0.6);
    }
}
void Floe(cairo_t* cr, double x, double y, double s, Rng& rng) {
    cairo_new_path(cr);
    const int n = 6;
    for (int k = 0; k < n; ++k) {
        const double a = k * 2 * M_PI / n, r = s * rng.Range(0.3, 0.5);
        const double px = x + std::cos(a) * r, py = y + std::sin(a) * r * 0.5;
        if (k == 0) cairo_move_to(cr, px, py);
        else cairo_line_to(cr, px, py);
    }
    cairo_close_path(cr);
    Fill(cr, Hex(0xf2f8fb), 0.95);
    InkStroke(cr, 0.6, 0.5);
}
void SunkenLibrary(cairo_t* cr, double x, double y, double s) {
    // The library's dome standing out of the ice, a stair of books beside it.
    Tower(cr, x, y, s, Hex(0xc4b8a0), Hex(0x3a6a8a), false);
    cairo_arc(cr, x, y, s * 0.35, M_PI, 2 * M_PI);
    cairo_close_path(cr);
    Fill(cr, kIce, 0.8, false);
}

// ---- regions ------------------------------------------------------------------------------------------------
enum class Thing {
    Tree, Pine, SnowPine, Willow, Crystal, Cottage, WaterMill, Windmill, Well, Field, Haystack, Reeds, Pool,
    Tower, Lighthouse, Columns, Ruin, DuskArch, Mountain, SnowMountain, Volcano, Rock, Tuft, Lantern, Tent,
    Observatory, Castle, StoneRing, Library, Floe, Star, Furrow, Sparkle, Crack, Pebble
};
struct Region {
    const char* name;
    RGB land;                    // the wash over the parchment
    std::vector<Thing> marks;    // placed first, the region's landmarks
    std::vector<Thing> fillers;  // scattered after them
    int fillerCount;
    Thing grain;                 // the small marks that texture the ground
};
const Region& RegionOf(int stage) {
    static const std::vector<Region> regions = {
        {"Hearthmere", Hex(0x97ad62), {Thing::WaterMill, Thing::Cottage, Thing::Well, Thing::Cottage},
         {Thing::Tree, Thing::Tree, Thing::Cottage, Thing::Tree, Thing::Field}, 16, Thing::Tuft},
        {"Willowfen", Hex(0x84a07e), {Thing::Willow, Thing::Pool, Thing::Willow},
         {Thing::Reeds, Thing::Pool, Thing::Willow, Thing::Reeds}, 18, Thing::Reeds},
        {"Amber Downs", Hex(0xd4aa52), {Thing::Windmill, Thing::Field, Thing::Windmill},
         {Thing::Field, Thing::Haystack, Thing::Tree, Thing::Haystack}, 16, Thing::Furrow},
        {"Mistral Coast", Hex(0xa3ba94), {Thing::Lighthouse, Thing::Rock},
         {Thing::Rock, Thing::Pine, Thing::Tuft}, 12, Thing::Tuft},
        {"Old Ostrel", Hex(0x9aa8a6), {Thing::Columns, Thing::Ruin, Thing::Pool},
         {Thing::Columns, Thing::Ruin, Thing::Pool, Thing::Rock}, 14, Thing::Pebble},
        {"Glasswood", Hex(0x80aea8), {Thing::Crystal, Thing::Crystal, Thing::Crystal},
         {Thing::Crystal, Thing::Crystal, Thing::Pine}, 20, Thing::Sparkle},
        {"Lantern Steppe", Hex(0xbba76e), {Thing::Lantern, Thing::Tent, Thing::Lantern},
         {Thing::Lantern, Thing::Tuft, Thing::Tent, Thing::Rock}, 14, Thing::Tuft},
        {"Frostmarch", Hex(0xd2deec), {Thing::SnowMountain, Thing::SnowPine, Thing::SnowMountain},
         {Thing::SnowPine, Thing::SnowPine, Thing::SnowMountain}, 18, Thing::Sparkle},
        {"Emberpeak", Hex(0xa8725a), {Thing::Volcano, Thing::Volcano},
         {Thing::Rock, Thing::Mountain, Thing::Rock}, 12, Thing::Crack},
        {"Sunken Library", Hex(0xaac6d6), {Thing::Library, Thing::Pool},
         {Thing::Pool, Thing::Rock, Thing::Columns, Thing::Pool}, 12, Thing::Crack},
        {"Starfall Heights", Hex(0x949ac0), {Thing::Observatory, Thing::SnowMountain},
         {Thing::Mountain, Thing::Star, Thing::SnowMountain, Thing::Star}, 14, Thing::Sparkle},
        {"Dusk Gate", Hex(0xa890bc), {Thing::DuskArch, Thing::Rock},
         {Thing::Rock, Thing::Tree, Thing::Lantern}, 12, Thing::Tuft},
        {"Quiet Crown", Hex(0xadb1c6), {Thing::Castle, Thing::StoneRing},
         {Thing::SnowPine, Thing::Rock, Thing::Tree, Thing::StoneRing}, 14, Thing::Sparkle},
    };
    return regions[static_cast<size_t>(std::clamp(stage, 1, kStages) - 1)];
}

// Roughly how tall a thing is drawn on the map, and how much room it keeps.
double SizeOf(Thing t) {
    switch (t) {
    case Thing::Castle: return 30;
    case Thing::Volcano: case Thing::SnowMountain: case Thing::Mountain: return 26;
    case Thing::WaterMill: case Thing::Lighthouse: case Thing::Observatory: case Thing::DuskArch: return 24;
    case Thing::Library: case Thing::StoneRing: case Thing::Windmill: return 24;
    case Thing::Field: case Thing::Pool: return 22;
    case Thing::Tuft: case Thing::Star: return 10;
    case Thing::Furrow: case Thing::Sparkle: case Thing::Crack: case Thing::Pebble: return 7;
    case Thing::Reeds: case Thing::Rock: case Thing::Haystack: return 12;
    default: return 18;
    }
}

void DrawThing(cairo_t* cr, Thing t, double x, double y, double s, int stage, Rng& rng) {
    const RGB land = RegionOf(stage).land;
    switch (t) {
    case Thing::Tree: TreeRound(cr, x, y, s, stage == 3 ? Hex(0xb0882a) : Darker(land, 0.35)); break;
    case Thing::Pine: TreePine(cr, x, y, s, Hex(0x3f6a4a), false); break;
    case Thing::SnowPine: TreePine(cr, x, y, s, Hex(0x4a6a62), true); break;
    case Thing::Willow: Willow(cr, x, y, s); break;
    case Thing::Crystal: CrystalTree(cr, x, y, s, rng.Range(170, 215)); break;
    case Thing::Cottage: Cottage(cr, x, y, s, Hex(0xa8432a), true); break;
    case Thing::WaterMill: WaterMill(cr, x, y, s); break;
    case Thing::Windmill: Windmill(cr, x, y, s); break;
    case Thing::Well: Well(cr, x, y, s); break;
    case Thing::Field: FieldPatch(cr, x, y, s, rng); break;
    case Thing::Haystack: Haystack(cr, x, y, s); break;
    case Thing::Reeds: Reeds(cr, x, y, s); break;
    case Thing::Pool:
        Pool(cr, x, y, s, stage == 5 ? Hex(0x5f8fa4) : stage == 10 ? Hex(0xc4dcea) : Hex(0x6a9a8a));
        break;
    case Thing::Tower: Tower(cr, x, y, s, Hex(0xd8d0bc), Hex(0x8a4a2a), false); break;
    case Thing::Lighthouse: Lighthouse(cr, x, y, s); break;
    case Thing::Columns: Columns(cr, x, y, s); break;
    case Thing::Ruin: Tower(cr, x, y, s, Hex(0xc8c2b4), Hex(0), true); break;
    case Thing::DuskArch: Arch(cr, x, y, s, Hex(0x6a5a8a), Hex(0xc080ff)); break;
    case Thing::Mountain: Mountain(cr, x, y, s, stage == 9 ? Hex(0x6a4a3e) : Hex(0x8a86a0), false); break;
    case Thing::SnowMountain: Mountain(cr, x, y, s, Hex(0x9aa6ba), true); break;
    case Thing::Volcano: Volcano(cr, x, y, s); break;
    case Thing::Rock: Rock(cr, x, y, s, Mix(pal::stone, land, 0.3)); break;
    case Thing::Tuft: Tuft(cr, x, y, s, Darker(land, 0.45)); break;
    case Thing::Lantern: LanternPost(cr, x, y, s, rng.Uniform() < 0.5); break;
    case Thing::Tent: Tent(cr, x, y, s); break;
    case Thing::Observatory: Observatory(cr, x, y, s); break;
    case Thing::Castle: Castle(cr, x, y, s); break;
    case Thing::StoneRing: StoneRing(cr, x, y, s, true); break;
    case Thing::Library: SunkenLibrary(cr, x, y, s); break;
    case Thing::Floe: Floe(cr, x, y - s * 0.2, s, rng); break;
    case Thing::Furrow:
        for (int k = 0; k < 3; ++k) {
            cairo_move_to(cr, x - s, y - k * 2.2);
            cairo_line_to(cr, x + s, y - k * 2.2 - s * 0.25);
        }
        SetColor(cr, Darker(land, 0.35), 0.5);
        cairo_set_line_width(cr, 0.9);
        cairo_stroke(cr);
        break;
    case Thing::Sparkle:
        Star(cr, x, y - s * 0.4, s * 0.45, s * 0.12, 4);
        SetColor(cr, stage == 6 ? Hex(0xe8fffa) : Hex(0xffffff), 0.8);
        cairo_fill(cr);
        cairo_arc(cr, x + s * 0.2, y - s * 0.1, s * 0.22, 0, M_PI);
        SetColor(cr, Darker(land, 0.3), 0.35);
        cairo_fill(cr);
        break;
    case Thing::Crack:
        cairo_move_to(cr, x - s, y);
        cairo_line_to(cr, x - s * 0.3, y - s * 0.3);
        cairo_line_to(cr, x + s * 0.2, y + s * 0.1);
        cairo_line_to(cr, x + s, y - s * 0.2);
        SetColor(cr, stage == 9 ? Hex(0x5a2010) : Hex(0x7a98b0), 0.6);
        cairo_set_line_width(cr, 1.0);
        cairo_stroke_preserve(cr);
        SetColor(cr, stage == 9 ? Hex(0xff9040) : Hex(0xf4fbff), 0.7);
        cairo_set_line_width(cr, 0.4);
        cairo_stroke(cr);
        break;
    case Thing::Pebble:
        cairo_arc(cr, x, y - s * 0.2, s * 0.28, 0, 2 * M_PI);
        SetColor(cr, Hex(0xb8b4a8));
        cairo_fill_preserve(cr);
        InkStroke(cr, 0.6, 0.6);
        break;
    case Thing::Star:
        Star(cr, x, y - s * 0.5, s * 0.5, s * 0.18, 4);
        SetColor(cr, Hex(0xfff6d0));
        cairo_fill_preserve(cr);
        InkStroke(cr, 0.6, 0.6);
        break;
    }
}

// ---- the map picture ------------------------------------------------------------------------------------------
struct Placed {
    Thing t;
    double x, y, s;
    int stage;
};

class MapPainter {
public:
    MapPainter(const Layout& l, uint32_t seed) : l_(l), seed_(seed), rng_(seed) {
        road_ = Smooth(RoadControl(l));
        crossings_ = RiverCrossings(l);
        river_ = Smooth(RiverControl(crossings_));
        roadField_ = DistanceTo(road_);
        riverField_ = DistanceTo(river_);
        Regions();
    }

    void Paint(Canvas& c) {
        ParchmentFill(c, 0, 0, kW, kH, seed_);
        Lands(c);
        Seas(c);
        River(c);
        Landmarks(c);
        Road(c);
        Bridges(c);
        Compass(c, 30, 528, 20);
        Border(c);
        BottomStrip(c);
    }

private:
    // Which stage owns each pixel: its nearest marker, looked up through a
    // wobble so the borders meander like old county lines.
    void Regions() {
        owner_.assign(kW * kH, 1);
        second_.assign(kW * kH, 1);
        blend_.assign(kW * kH, 1.0f);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const double wx = x + 34 * (Fbm(x / 70.0, y / 70.0, 3, seed_ + 1) - 0.5) * 2;
                const double wy = y + 34 * (Fbm(x / 70.0 + 9, y / 70.0 + 4, 3, seed_ + 2) - 0.5) * 2;
                double best[kStages + 1];
                std::fill(std::begin(best), std::end(best), 1e9);
                for (const Marker& m : l_.markers)
                    best[m.stage] = std::min(best[m.stage], (m.x - wx) * (m.x - wx) + (m.y - wy) * (m.y - wy));
                int a = 1, b = 1;
                for (int s = 1; s <= kStages; ++s)
                    if (best[s] < best[a]) a = s;
                b = a == 1 ? 2 : 1;
                for (int s = 1; s <= kStages; ++s)
                    if (s != a && best[s] < best[b]) b = s;
                const size_t i = static_cast<size_t>(y * kW + x);
                owner_[i] = a;
                second_[i] = b;
                const double gap = std::sqrt(best[b]) - std::sqrt(best[a]);
                blend_[i] = static_cast<float>(std::clamp(0.5 + gap / 24.0, 0.5, 1.0));
            }
    }
    int Owner(double x, double y) const {
        const int ix = std::clamp(static_cast<int>(x), 0, kW - 1), iy = std::clamp(static_cast<int>(y), 0, kH - 1);
        return owner_[static_cast<size_t>(iy * kW + ix)];
    }

    // A watercolour wash per region over the parchment, mottled, with a
    // darker rim along each border as if the painter's brush pooled there.
    void Lands(Canvas& c) {
        uint32_t* px = c.Pixels();
        const int st = c.Stride();
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const size_t i = static_cast<size_t>(y * kW + x);
                const double t = blend_[i];
                RGB land = Mix(RegionOf(second_[i]).land, RegionOf(owner_[i]).land, t);
                const double mottle = (Fbm(x / 26.0, y / 26.0, 4, seed_ + 5) - 0.5) * 0.22;
                land = Scale(land, 1.0 + mottle - (t < 0.58 ? 0.1 : 0.0));
                uint32_t& p = px[y * st + x];
                const RGB under{((p >> 16) & 255) / 255.0, ((p >> 8) & 255) / 255.0, (p & 255) / 255.0};
                // Multiply the tint into the paper, then lean towards the tint:
                // the grain of the parchment still shows through.
                RGB mul{under.r * land.r, under.g * land.g, under.b * land.b};
                RGB out = Mix(mul, land, 0.55);
                // Region borders inked as dotted county lines.
                const double gap = (t - 0.5) * 24;
                if (gap < 2.2 && ((x / 3 + y / 3) % 2 == 0)) out = Scale(out, 1.0 - 0.32 * (1 - gap / 2.2));
                auto byte = [](double v) { return static_cast<uint32_t>(std::clamp(v, 0.0, 1.0) * 255 + 0.5); };
                p = 0xFF000000u | byte(out.r) << 16 | byte(out.g) << 8 | byte(out.b);
            }
        c.Flush();
    }

    void Seas(Canvas& c) {
        cairo_t* cr = c.cr;
        for (int side = 0; side < 2; ++side) {
            cairo_new_path(cr);
            for (int y = -4; y <= kH + 4; y += 4) {
                const double x = side ? EastCoast(y, seed_) : WestCoast(y, seed_);
                if (y == -4) cairo_move_to(cr, x, y);
                else cairo_line_to(cr, x, y);
            }
            cairo_line_to(cr, side ? kW + 4 : -4, kH + 4);
            cairo_line_to(cr, side ? kW + 4 : -4, -4);
            cairo_close_path(cr);
            cairo_path_t* coast = cairo_copy_path(cr);
            const double x0 = side ? 760 : 0, x1 = side ? 800 : 40;
            cairo_pattern_t* g = cairo_pattern_create_linear(side ? 760 : 40, 0, side ? 800 : 0, 0);
            AddStop(g, 0, kWater);
            AddStop(g, 1, kWaterDeep);
            cairo_set_source(cr, g);
            cairo_fill(cr);
            cairo_pattern_destroy(g);
            cairo_save(cr);
            cairo_append_path(cr, coast);
            cairo_clip(cr);
            // The eastern sea freezes in the south, by the Sunken Library.
            if (side) {
                g = cairo_pattern_create_linear(0, 300, 0, 380);
                AddStop(g, 0, kIce, 0);
                AddStop(g, 1, kIce, 0.9);
                cairo_set_source(cr, g);
                cairo_rectangle(cr, x0, 300, x1 - x0 + 4, kH - 300);
                cairo_fill(cr);
            }
            for (int k = 0; k < 40; ++k) {
                const double wx = rng_.Range(x0, x1), wy = rng_.Range(0, kStripTop);
                if (side && wy > 360) {
                    Floe(cr, wx, wy, rng_.Range(6, 11), rng_);
                    continue;
                }
                cairo_move_to(cr, wx - 4, wy);
                cairo_curve_to(cr, wx - 2, wy - 2.5, wx + 2, wy - 2.5, wx + 4, wy);
                SetColor(cr, Hex(0xe8f2f4), 0.55);
                cairo_set_line_width(cr, 1);
                cairo_stroke(cr);
            }
            cairo_restore(cr);
            // The shore: a dark ink line with water-lines echoing it.
            for (int r = 0; r < 3; ++r) {
                cairo_new_path(cr);
                for (int y = -4; y <= kH + 4; y += 4) {
                    const double x = (side ? EastCoast(y, seed_) : WestCoast(y, seed_)) + (side ? 1 : -1) * r * 4.5;
                    if (y == -4) cairo_move_to(cr, x, y);
                    else cairo_line_to(cr, x, y);
                }
                if (r == 0) InkStroke(cr, 1.6, 0.85);
                else {
                    SetColor(cr, kWaterDeep, 0.45 / r);
                    cairo_set_line_width(cr, 0.9);
                    cairo_stroke(cr);
                }
            }
            // Cliffs on the Mistral Coast: short hatches down to the water.
            if (side)
                for (int y = 110; y < 300; y += 5) {
                    const double x = EastCoast(y, seed_);
                    cairo_move_to(cr, x - 4, y);
                    cairo_line_to(cr, x + 1, y + 3);
                    InkStroke(cr, 0.8, 0.6);
                }
            cairo_path_destroy(coast);
        }
    }

    void River(Canvas& c) {
        cairo_t* cr = c.cr;
        PathOf(cr, river_);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_line_width(cr, 9);
        SetColor(cr, kInk, 0.75);
        cairo_stroke_preserve(cr);
        cairo_set_line_width(cr, 6.5);
        SetColor(cr, kWater);
        cairo_stroke_preserve(cr);
        cairo_set_line_width(cr, 1.6);
        SetColor(cr, Hex(0xd8ecf0), 0.6);
        cairo_stroke(cr);
        cairo_new_path(cr);
    }

    bool Free(double x, double y, double r) const {
        const double probes[9][2] = {{0, 0},   {-1, 0},  {1, 0},     {0, -1},   {0, -2},
                                     {-1, -2}, {1, -2},  {-0.7, -1}, {0.7, -1}};
        for (const auto& p : probes) {
            const double px = x + p[0] * r * 0.9, py = y + p[1] * r * 0.6;
            if (px < 8 || px > kW - 8 || py < 6 || py > kStripTop - 8) return false;
            if (IsSea(px, py, seed_) || IsSea(px + 8, py, seed_) || IsSea(px - 8, py, seed_)) return false;
            if (roadField_.At(px, py) < kRoadHalf + 7 || riverField_.At(px, py) < 7) return false;
            for (const StageSpot& s : l_.stages)
                if (px > s.x - 3 && px < s.x + kVignetteW + 3 && py > s.y - 3 && py < s.y + kVignetteH + 3)
                    return false;
            // Keep clear of a compass rose in the south-west corner.
            if (std::hypot(px - 30, py - 528) < 26) return false;
        }
        return true;
    }

    bool TryPlace(std::vector<Placed>& placed, Thing t, int stage, int tries) {
        const double s = SizeOf(t) * rng_.Range(0.85, 1.1);
        for (int k = 0; k < tries; ++k) {
            const double x = rng_.Range(10, kW - 10), y = rng_.Range(14, kStripTop - 6);
            if (Owner(x, y) != stage || Owner(x, y - s) != stage || !Free(x, y, s)) continue;
            bool clash = false;
            for (const Placed& p : placed)
                if (std::abs(p.x - x) < (p.s + s) * 0.42 && std::abs(p.y - y) < (p.s + s) * 0.45) {
                    clash = true;
                    break;
                }
            if (clash) continue;
            placed.push_back({t, x, y, s, stage});
            return true;
        }
        return false;
    }

    void Landmarks(Canvas& c) {
        std::vector<Placed> placed;
        for (int stage = 1; stage <= kStages; ++stage)
            for (Thing t : RegionOf(stage).marks) TryPlace(placed, t, stage, 4000);
        for (int stage = 1; stage <= kStages; ++stage) {
            const Region& r = RegionOf(stage);
            for (int k = 0; k < r.fillerCount; ++k) TryPlace(placed, r.fillers[k % r.fillers.size()], stage, 600);
        }
        for (int stage = 1; stage <= kStages; ++stage)
            for (int k = 0; k < 70; ++k) TryPlace(placed, RegionOf(stage).grain, stage, 60);
        std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) { return a.y < b.y; });
        for (const Placed& p : placed) DrawThing(c.cr, p.t, p.x, p.y, p.s, p.stage, rng_);
    }

    void Road(Canvas& c) {
        cairo_t* cr = c.cr;
        PathOf(cr, road_);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_width(cr, kRoadHalf * 2 + 6);
        SetColor(cr, Hex(0x2a1a08), 0.18);
        cairo_stroke_preserve(cr);
        cairo_set_line_width(cr, kRoadHalf * 2 + 2.4);
        SetColor(cr, kRoadEdge);
        cairo_stroke_preserve(cr);
        cairo_set_line_width(cr, kRoadHalf * 2 - 0.6);
        SetColor(cr, kRoad);
        cairo_stroke(cr);
        // Cart ruts: faint, so the road keeps one colour all along.
        for (int side = -1; side <= 1; side += 2) {
            std::vector<Pt> rut;
            for (size_t i = 0; i < road_.size(); ++i) {
                const Pt a = road_[i > 0 ? i - 1 : i], b = road_[i + 1 < road_.size() ? i + 1 : i];
                const double len = std::max(1e-6, Dist(a, b));
                rut.push_back(
                    {road_[i].x - (b.y - a.y) / len * side * 4.2, road_[i].y + (b.x - a.x) / len * side * 4.2});
            }
            PathOf(cr, rut);
            const double dash[2] = {6, 5};
            cairo_set_dash(cr, dash, 2, side > 0 ? 3 : 0);
            cairo_set_line_width(cr, 0.9);
            SetColor(cr, kRoadEdge, 0.22);
            cairo_stroke(cr);
            cairo_set_dash(cr, nullptr, 0, 0);
        }
    }

    // Stone parapets along both sides where the road runs over the river.
    void Bridges(Canvas& c) {
        cairo_t* cr = c.cr;
        for (const Crossing& x : crossings_) {
            const Pt n{-x.along.y, x.along.x};
            for (int side = -1; side <= 1; side += 2) {
                const double off = (kRoadHalf + 2.2) * side;
                const Pt a{x.at.x + n.x * off - x.along.x * 12, x.at.y + n.y * off - x.along.y * 12};
                const Pt b{x.at.x + n.x * off + x.along.x * 12, x.at.y + n.y * off + x.along.y * 12};
                cairo_move_to(cr, a.x, a.y);
                cairo_line_to(cr, b.x, b.y);
                cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
                cairo_set_line_width(cr, 5);
                SetColor(cr, kInk, 0.85);
                cairo_stroke_preserve(cr);
                cairo_set_line_width(cr, 3);
                SetColor(cr, Hex(0xbdb4a2));
                cairo_stroke(cr);
                for (double t : {-12.0, 12.0}) {
                    cairo_arc(cr, x.at.x + n.x * off + x.along.x * t, x.at.y + n.y * off + x.along.y * t, 2.6, 0,
                              2 * M_PI);
                    SetColor(cr, Hex(0x9a9080));
                    cairo_fill_preserve(cr);
                    InkStroke(cr, 0.8);
                }
            }
        }
    }

    void Compass(Canvas& c, double x, double y, double r) {
        cairo_t* cr = c.cr;
        RadialGlow(cr, x, y, r * 1.2, Hex(0xfff4d0), 0.35);
        cairo_arc(cr, x, y, r * 0.8, 0, 2 * M_PI);
        InkStroke(cr, 0.8, 0.7);
        Star(cr, x, y, r, r * 0.22, 4, -M_PI / 2);
        SetColor(cr, Hex(0x8a2a1a), 0.9);
        cairo_fill_preserve(cr);
        InkStroke(cr, 0.8);
        Star(cr, x, y, r * 0.6, r * 0.16, 4, -M_PI / 4);
        SetColor(cr, pal::gold, 0.95);
        cairo_fill_preserve(cr);
        InkStroke(cr, 0.7);
    }

    // An inked double rule and a soft burn only at the very edge, so the
    // road's colour holds right to its ends.
    void Border(Canvas& c) {
        cairo_t* cr = c.cr;
        cairo_rectangle(cr, 3.5, 3.5, kW - 7, kStripTop - 6);
        InkStroke(cr, 1.6, 0.8);
        cairo_rectangle(cr, 7, 7, kW - 14, kStripTop - 13);
        InkStroke(cr, 0.7, 0.6);
        for (int side = 0; side < 4; ++side) {
            const bool vertical = side < 2;
            const double x0 = side == 1 ? kW : 0, y0 = side == 3 ? kStripTop : 0;
            const double x1 = vertical ? (side == 0 ? 18 : kW - 18) : 0;
            const double y1 = vertical ? 0 : (side == 2 ? 18 : kStripTop - 18);
            cairo_pattern_t* g = vertical ? cairo_pattern_create_linear(x0, 0, x1, 0)
                                          : cairo_pattern_create_linear(0, y0, 0, y1);
            AddStop(g, 0, Hex(0x3a1e08), 0.55);
            AddStop(g, 1, Hex(0x3a1e08), 0);
            cairo_set_source(cr, g);
            cairo_rectangle(cr, 0, 0, kW, kStripTop);
            cairo_fill(cr);
            cairo_pattern_destroy(g);
        }
    }

    void BottomStrip(Canvas& c) {
        cairo_t* cr = c.cr;
        cairo_rectangle(cr, 0, kStripTop, kW, kH - kStripTop);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, kStripTop, 0, kH);
        AddStop(g, 0, Hex(0x2a1a0e));
        AddStop(g, 1, Hex(0x120a04));
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        cairo_rectangle(cr, 0, kStripTop - 1, kW, 3);
        SetColor(cr, pal::gold);
        cairo_fill(cr);
    }

public:
    static constexpr int kVignetteW = 150, kVignetteH = 60;

private:
    const Layout& l_;
    uint32_t seed_;
    Rng rng_;
    std::vector<Pt> road_, river_;
    std::vector<Crossing> crossings_;
    Field roadField_, riverField_;
    std::vector<int> owner_, second_;
    std::vector<float> blend_;
};

// ---- vignettes ------------------------------------------------------------------------------------------------
// Each region's vignette: a small scene in the map's inks and washes inside
// a gold-rimmed cartouche, its name lettered on a parchment ribbon.
struct Vista {
    RGB skyTop, skyLow, ground;
    std::vector<std::pair<Thing, double>> things;  // at fractions of the width, back to front
    std::vector<double> sizes;
};
Vista VistaOf(int stage) {
    const RGB land = RegionOf(stage).land;
    switch (stage) {
    case 1:
        return {Hex(0x9cc4e0), Hex(0xf4e2b8), land,
                {{Thing::Tree, 0.12}, {Thing::WaterMill, 0.34}, {Thing::Cottage, 0.62}, {Thing::Well, 0.86}},
                {30, 36, 34, 28}};
    case 2:
        return {Hex(0xa8bcc0), Hex(0xe8e4c8), land,
                {{Thing::Willow, 0.16}, {Thing::Pool, 0.5}, {Thing::Reeds, 0.7}, {Thing::Willow, 0.86}},
                {40, 40, 22, 34}};
    case 3:
        return {Hex(0x8cb8e0), Hex(0xfae6b0), land,
                {{Thing::Field, 0.34}, {Thing::Windmill, 0.58}, {Thing::Haystack, 0.84}, {Thing::Windmill, 0.14}},
                {34, 34, 18, 28}};
    case 4:
        return {Hex(0x88b0d8), Hex(0xe8eef0), land,
                {{Thing::Rock, 0.2}, {Thing::Lighthouse, 0.68}, {Thing::Pine, 0.4}},
                {18, 34, 26}};
    case 5:
        return {Hex(0x90a8b8), Hex(0xe0e0d8), Hex(0x7fa0b0),
                {{Thing::Ruin, 0.2}, {Thing::Columns, 0.5}, {Thing::Ruin, 0.8}},
                {40, 36, 30}};
    case 6:
        return {Hex(0x6a88b8), Hex(0xc8e8f0), land,
                {{Thing::Crystal, 0.14}, {Thing::Crystal, 0.38}, {Thing::Crystal, 0.62}, {Thing::Crystal, 0.86}},
                {32, 44, 38, 30}};
    case 7:
        return {Hex(0x2a3060), Hex(0x8a6a78), land,
                {{Thing::Tent, 0.3}, {Thing::Lantern, 0.12}, {Thing::Lantern, 0.58}, {Thing::Lantern, 0.86}},
                {30, 34, 38, 32}};
    case 8:
        return {Hex(0x9aaac4), Hex(0xe8eef4), Hex(0xe4ecf4),
                {{Thing::SnowMountain, 0.3}, {Thing::SnowMountain, 0.7}, {Thing::SnowPine, 0.12},
                 {Thing::SnowPine, 0.88}, {Thing::SnowPine, 0.5}},
                {34, 32, 28, 30, 24}};
    case 9:
        return {Hex(0x3a1a1a), Hex(0xc06030), Hex(0x6a4034),
                {{Thing::Volcano, 0.5}, {Thing::Rock, 0.15}, {Thing::Rock, 0.85}},
                {34, 18, 20}};
    case 10:
        return {Hex(0x5a7898), Hex(0xc4d6e4), kIce,
                {{Thing::Columns, 0.2}, {Thing::Library, 0.52}, {Thing::Floe, 0.8}, {Thing::Floe, 0.34}},
                {26, 34, 24, 18}};
    case 11:
        return {Hex(0x1a2050), Hex(0x5a5a98), land,
                {{Thing::SnowMountain, 0.22}, {Thing::Observatory, 0.62}, {Thing::Star, 0.2}, {Thing::Star, 0.88}},
                {34, 30, 14, 12}};
    case 12:
        return {Hex(0x3a2460), Hex(0xd890a8), land,
                {{Thing::Rock, 0.18}, {Thing::DuskArch, 0.5}, {Thing::Rock, 0.82}},
                {20, 32, 18}};
    default:
        return {Hex(0x6a78b0), Hex(0xf0e4d0), land,
                {{Thing::StoneRing, 0.22}, {Thing::Castle, 0.62}, {Thing::SnowPine, 0.92}},
                {36, 26, 26}};
    }
}

void PaintVignette(Canvas& c, int stage, uint32_t seed) {
    cairo_t* cr = c.cr;
    const double W = c.w, H = c.h, inset = 2.5, r = 10;
    const double ribbonH = 17;
    Rng rng(seed);
    const Vista v = VistaOf(stage);
    RoundRect(cr, inset, inset, W - 2 * inset, H - 2 * inset, r);
    cairo_path_t* frame = cairo_copy_path(cr);
    cairo_save(cr);
    cairo_clip(cr);
    // Sky, then a hill line, then the things, then a little haze.
    const double horizon = H - ribbonH - 12;
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, horizon);
    AddStop(g, 0, v.skyTop);
    AddStop(g, 1, v.skyLow);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    if (stage == 7 || stage == 11) {
        for (int k = 0; k < 18; ++k) {
            cairo_arc(cr, rng.Range(0, W), rng.Range(3, horizon - 6), rng.Range(0.4, 1.0), 0, 2 * M_PI);
            SetColor(cr, Hex(0xfff6d8), 0.85);
            cairo_fill(cr);
        }
    }
    cairo_move_to(cr, 0, horizon + 4);
    for (int x = 0; x <= W; x += 4)
        cairo_line_to(cr, x, horizon - 2 + 5 * (Fbm(x / 30.0, stage, 3, seed) - 0.5) * 2);
    cairo_line_to(cr, W, H);
    cairo_line_to(cr, 0, H);
    cairo_close_path(cr);
    SetColor(cr, v.ground);
    cairo_fill_preserve(cr);
    InkStroke(cr, 0.9, 0.5);
    if (stage == 4) {
        cairo_rectangle(cr, W * 0.78, horizon - 1, W, H);
        SetColor(cr, kWater);
        cairo_fill(cr);
    }
    for (size_t i = 0; i < v.things.size(); ++i) {
        const double x = v.things[i].second * W;
        DrawThing(cr, v.things[i].first, x, horizon + 6 + (i % 2) * 2, v.sizes[i], stage, rng);
    }
    // Ostrel stands in its flood, the Library in its ice.
    if (stage == 5 || stage == 10) {
        cairo_rectangle(cr, 0, horizon + 1, W, H);
        SetColor(cr, stage == 5 ? kWater : kIce, stage == 5 ? 0.72 : 0.6);
        cairo_fill(cr);
        for (int k = 0; k < 7; ++k) {
            const double y = horizon + 4 + k * 2.5, x = rng.Range(0, W - 30);
            cairo_move_to(cr, x, y);
            cairo_line_to(cr, x + rng.Range(12, 30), y);
        }
        SetColor(cr, Hex(0xffffff), 0.55);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
    }
    c.Grain(0.05, 2, seed + 3, 2);
    cairo_restore(cr);
    // The name on a parchment ribbon across the foot.
    const std::string name = RegionOf(stage).name;
    cairo_save(cr);
    cairo_append_path(cr, frame);
    cairo_clip(cr);
    cairo_rectangle(cr, 0, H - inset - ribbonH, W, ribbonH + inset);
    cairo_pattern_t* pg = cairo_pattern_create_linear(0, H - ribbonH, 0, H);
    // A little below white, so the current stage's glow still shows paper.
    AddStop(pg, 0, Mix(pal::parchment, pal::parchmentDark, 0.25));
    AddStop(pg, 1, pal::parchmentDark);
    cairo_set_source(cr, pg);
    cairo_fill(cr);
    cairo_pattern_destroy(pg);
    cairo_move_to(cr, 0, H - inset - ribbonH);
    cairo_line_to(cr, W, H - inset - ribbonH);
    InkStroke(cr, 0.9, 0.6);
    cairo_restore(cr);
    FitCaption(c, F_UNCIAL, 13.5, W / 2, H - inset - ribbonH / 2 - 0.5, W - 18, name, CS_INK);
    // The gold rim.
    cairo_append_path(cr, frame);
    cairo_set_line_width(cr, 3.2);
    SetColor(cr, pal::goldDeep);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 1.6);
    SetColor(cr, pal::gold);
    cairo_stroke(cr);
    cairo_path_destroy(frame);
}

// ---- recipes -----------------------------------------------------------------------------------------------
void Map(std::vector<Recipe>& out) {
    const std::string mapFile = MapFile();
    // The map file is an input of the map picture: moving a marker repaints
    // the road under it.
    Recipe map = Picture("gfx/mapa/mapa.jpg", [mapFile](Context& ctx) {
        const Layout l = ReadLayout(mapFile);
        Canvas c(kW, kH);
        MapPainter(l, ctx.seed).Paint(c);
        c.Opaque({0, 0, 0});
        ctx.Jpeg(c, "gfx/mapa/mapa.jpg", 92);
    }, "map.tsc " + FileDigestText(mapFile));
    map.inputs.push_back(mapFile);
    out.push_back(map);
    for (int n = 1; n <= kStages; ++n) {
        const std::string path = "gfx/mapa/stage-" + Two(n) + ".png";
        out.push_back(Picture(path, [n, path](Context& ctx) {
            Canvas c(MapPainter::kVignetteW, MapPainter::kVignetteH);
            PaintVignette(c, n, ctx.seed);
            ctx.Png(c, path);
        }));
    }
}

}  // namespace

QAB_RECIPES(Map);

}  // namespace qab
