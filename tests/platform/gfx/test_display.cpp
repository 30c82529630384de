// The real device: an 800x600 display on SDL's offscreen driver (or a
// virtual X display), frames drawn with OpenGL and read back. The frame of
// the scene test is saved as test-output/display.png for a person to look at.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include "platform/gfx_internal.h"
#include "platform/plat.h"

namespace {
using namespace plat;

struct Rgb { int r, g, b; };

::testing::AssertionResult Near(const PixmapPtr& frame, int x, int y, Rgb want, int tolerance, const char* what) {
    const uint32_t px = ReadPixel(frame, x, y);
    const int r = (px >> 16) & 255, g = (px >> 8) & 255, b = px & 255;
    if (std::abs(r - want.r) <= tolerance && std::abs(g - want.g) <= tolerance && std::abs(b - want.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << what << " at " << x << "," << y << ": got " << r << "," << g << "," << b
                                         << " want " << want.r << "," << want.g << "," << want.b;
}

PixmapPtr Solid(int w, int h, uint32_t argb) {
    PixmapPtr p = CreatePixmap(w, h, PF_RGBA, 4);
    ClearPixels(p, argb);
    return p;
}

class RealDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Graphics(800, 600)) << "no display: is SDL_VIDEODRIVER=offscreen (or an X server) available?";
        SetClsColor(0, 0, 0);
        Cls();
    }
    void TearDown() override { EndGraphics(); }
};

TEST_F(RealDisplay, DrawsEveryBlendModeTransformPolygonAndPixmap) {
    const ImagePtr white = LoadImage(Solid(32, 32, 0xFFFFFFFFu), 0);
    const ImagePtr red = LoadImage(Solid(32, 32, 0xFFFF0000u), 0);

    // Blend modes, each over a grey or blue backdrop drawn solid.
    SetBlend(SOLIDBLEND);
    SetColor(0, 0, 255);
    DrawRect(0, 0, 400, 60);
    SetColor(200, 200, 200);
    DrawRect(0, 60, 400, 60);
    SetColor(255, 255, 255);

    DrawImage(red, 10, 10);  // solid
    SetBlend(ALPHABLEND);
    SetAlpha(0.5f);
    DrawImage(red, 60, 10);  // half over blue
    SetAlpha(1);
    SetBlend(LIGHTBLEND);
    DrawImage(red, 110, 10);  // adds to blue: magenta
    SetBlend(SHADEBLEND);
    SetColor(128, 255, 0);
    DrawImage(white, 10, 70);  // multiplies the grey
    SetColor(255, 255, 255);

    // Mask: the left half transparent, the right half opaque.
    PixmapPtr halves = Solid(32, 32, 0xFFFFFF00u);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 16; ++x) WritePixel(halves, x, y, 0x40FFFF00u);
    SetBlend(MASKBLEND);
    DrawImage(LoadImage(halves, 0), 60, 70);

    // Colour tint, scale and rotation.
    SetBlend(SOLIDBLEND);
    SetColor(0, 255, 0);
    DrawImage(LoadImage(Solid(10, 10, 0xFFFFFFFFu), 0), 0, 0);  // overdrawn below, tint only checked later
    SetColor(255, 255, 255);
    SetScale(3, 2);
    DrawImage(LoadImage(Solid(10, 10, 0xFF00FFFFu), 0), 300, 150);  // covers 300..330 x 150..170
    SetScale(1, 1);
    SetRotation(90);
    DrawImage(LoadImage(Solid(40, 10, 0xFFFF8000u), 0), 500, 100);  // covers 490..500 x 100..140
    SetRotation(0);
    SetColor(0, 255, 0);
    DrawImage(white, 200, 10);  // tinted green
    SetColor(255, 255, 255);

    // Picture top-left in its texture: a 4x4 of four quadrants, scaled 8x
    // with nearest filtering, each texel an 8x8 block.
    PixmapPtr quads = CreatePixmap(4, 4, PF_RGBA, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            WritePixel(quads, x, y, x < 2 ? (y < 2 ? 0xFFFF0000u : 0xFF0000FFu) : (y < 2 ? 0xFF00FF00u : 0xFFFFFFFFu));
    SetScale(8, 8);
    DrawImage(LoadImage(quads, 0), 600, 10);
    SetScale(1, 1);

    // A textured triangle from the white image, tinted and half transparent.
    SetBlend(ALPHABLEND);
    SetColor(255, 0, 0);
    SetAlpha(0.5f);
    SetColor(255, 255, 0);
    const float xy[] = {100, 300, 300, 300, 100, 500};
    const float uv[] = {0, 0, 1, 0, 0, 1};
    DrawTexturedPoly(white, 0, xy, uv, 3);
    SetAlpha(1);
    SetColor(255, 255, 255);

    // Lines and pixmaps.
    SetBlend(SOLIDBLEND);
    SetColor(255, 0, 255);
    DrawLine(400, 400, 500, 400);
    SetColor(255, 255, 255);
    PixmapPtr pm = CreatePixmap(8, 8, PF_RGB, 4);
    ClearPixels(pm, 0xFF123456u);
    WritePixel(pm, 0, 0, 0xFFFFFFFFu);
    DrawPixmap(pm, 700, 500);
    DrawPixmap(pm, -4, 590);  // half off the screen: clipped, not lost

    // A masked, filtered picture scaled up over black: no magenta fringe.
    SetMaskColor(255, 0, 255);
    PixmapPtr masked = CreatePixmap(8, 8, PF_RGB, 4);
    ClearPixels(masked, 0xFFFF00FFu);
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 6; ++x) WritePixel(masked, x, y, 0xFF00FF00u);
    SetBlend(ALPHABLEND);
    SetScale(8, 8);
    DrawImage(LoadImage(masked, MASKEDIMAGE | FILTEREDIMAGE), 500, 300);
    SetScale(1, 1);

    // TrueType text, its glyphs drawn as images.
    const FontPtr font = LoadImageFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 40);
    ASSERT_TRUE(font) << "fonts-dejavu-core is one of the packages scripts/setup installs";
    SetImageFont(font);
    SetColor(255, 255, 255);
    DrawText("Quill", 600, 420);
    const int textW = TextWidth("Quill"), textH = TextHeight();
    SetImageFont(nullptr);

    PixmapPtr frame = GrabPixmap(0, 0, 800, 600);
    ASSERT_TRUE(frame);
    ASSERT_EQ(frame->width, 800);
    const char* outDir = QUILL_TEST_OUTPUT_DIR;
    mkdir(outDir, 0755);
    EXPECT_TRUE(SavePixmapPNG(frame, std::string(outDir) + "/display.png"));

    struct Probe { int x, y; Rgb want; int tol; const char* what; };
    const Probe probes[] = {
        {26, 26, {255, 0, 0}, 0, "solid"},
        {50, 5, {0, 0, 255}, 0, "backdrop"},
        {76, 26, {128, 0, 127}, 3, "alpha 0.5 over blue"},
        {126, 26, {255, 0, 255}, 0, "light adds"},
        {26, 86, {100, 200, 0}, 3, "shade multiplies the grey"},
        {65, 86, {200, 200, 200}, 0, "mask: alpha below 0.5 leaves the backdrop"},
        {85, 86, {255, 255, 0}, 0, "mask: opaque half drawn"},
        {216, 26, {0, 255, 0}, 0, "colour tints the image"},
        {328, 168, {0, 255, 255}, 0, "scaled 3x2 inside"},
        {333, 155, {0, 0, 0}, 0, "scaled: right of it"},
        {315, 173, {0, 0, 0}, 0, "scaled: below it"},
        {495, 135, {255, 128, 0}, 0, "rotated 90: below the position, to the left"},
        {505, 105, {0, 0, 0}, 0, "rotated 90: nothing to the right"},
        {604, 14, {255, 0, 0}, 0, "texel 0,0"},
        {627, 14, {0, 255, 0}, 0, "texel 3,0"},
        {604, 37, {0, 0, 255}, 0, "texel 0,3"},
        {627, 37, {255, 255, 255}, 0, "texel 3,3"},
        {635, 20, {0, 0, 0}, 0, "nothing past the picture"},
        {150, 350, {128, 128, 0}, 3, "polygon: yellow at half alpha"},
        {290, 490, {0, 0, 0}, 0, "polygon: outside the triangle"},
        {450, 400, {255, 0, 255}, 0, "line"},
        {450, 402, {0, 0, 0}, 0, "line is one pixel"},
        {700, 500, {255, 255, 255}, 0, "pixmap top-left pixel"},
        {707, 507, {0x12, 0x34, 0x56}, 0, "pixmap"},
        {0, 590, {0x12, 0x34, 0x56}, 0, "clipped pixmap"},
        {532, 332, {0, 255, 0}, 0, "masked picture centre"},
        {504, 304, {0, 0, 0}, 0, "masked border transparent"},
    };
    for (const Probe& p : probes) EXPECT_TRUE(Near(frame, p.x, p.y, p.want, p.tol, p.what));
    int lit = 0;
    for (int y = 420; y < 420 + textH; ++y)
        for (int x = 600; x < 600 + textW; ++x) lit += ((ReadPixel(frame, x, y) >> 8) & 255) > 128;
    EXPECT_GT(textW, 60);
    EXPECT_GT(lit, 150) << "the text left no light pixels";
    EXPECT_LT(lit, textW * textH / 2);
    // Filtering across the masked edge blends with green, never the mask colour.
    for (int x = 500; x < 564; ++x) {
        const uint32_t px = ReadPixel(frame, x, 332);
        EXPECT_FALSE(((px >> 16) & 255) > 40 && (px & 255) > 40) << "magenta fringe at " << x;
    }
}

// A pixmap is copied as it stands: the blend mode in force (and its alpha
// test) neither drops nor mixes its pixels, and stays in force afterwards.
TEST_F(RealDisplay, DrawPixmapCopiesWhateverTheBlend) {
    PixmapPtr pm = Solid(4, 4, 0x40FF0000u);  // red at a quarter alpha
    const ImagePtr white = LoadImage(Solid(4, 4, 0xFFFFFFFFu), 0);
    struct Row { int blend; Rgb after; const char* what; };
    const Row rows[] = {
        {MASKBLEND, {200, 200, 200}, "mask"},  {SOLIDBLEND, {255, 255, 255}, "solid"},
        {ALPHABLEND, {214, 214, 214}, "alpha"}, {LIGHTBLEND, {255, 255, 255}, "light"},
        {SHADEBLEND, {200, 200, 200}, "shade"},
    };
    for (const Row& r : rows) {
        Cls();
        SetBlend(SOLIDBLEND);
        SetAlpha(1);
        SetColor(200, 200, 200);
        DrawRect(0, 0, 20, 20);
        SetColor(255, 255, 255);
        SetBlend(r.blend);
        DrawPixmap(pm, 2, 2);
        // The mode is still the one set: a white image at alpha 0.25 beside it.
        SetAlpha(0.25f);
        DrawImage(white, 10, 10);
        PixmapPtr frame = GrabPixmap(0, 0, 20, 20);
        EXPECT_TRUE(Near(frame, 3, 3, {255, 0, 0}, 0, r.what));
        EXPECT_TRUE(Near(frame, 11, 11, r.after, 2, r.what));
    }
    SetAlpha(1);
}

TEST_F(RealDisplay, GrabPixmapReadsTopDownAndClipsToTheScreen) {
    SetBlend(SOLIDBLEND);
    SetColor(255, 0, 0);
    DrawRect(0, 0, 800, 1);  // top row red
    SetColor(0, 0, 255);
    DrawRect(0, 599, 800, 1);  // bottom row blue
    PixmapPtr top = GrabPixmap(10, 0, 4, 2);
    EXPECT_TRUE(Near(top, 0, 0, {255, 0, 0}, 0, "top row first"));
    EXPECT_TRUE(Near(top, 0, 1, {0, 0, 0}, 0, "second row"));
    PixmapPtr edge = GrabPixmap(796, 598, 8, 4);
    ASSERT_TRUE(edge);
    EXPECT_EQ(edge->width, 8);
    EXPECT_TRUE(Near(edge, 0, 1, {0, 0, 255}, 0, "bottom row"));
    EXPECT_EQ(ReadPixel(edge, 6, 3), 0xFF000000u) << "outside the screen reads black";
}

TEST_F(RealDisplay, ImagesSurviveADisplayChange) {
    ImagePtr img = LoadImage(Solid(16, 16, 0xFF00FF00u), 0);
    SetBlend(SOLIDBLEND);
    DrawImage(img, 0, 0);
    const unsigned before = img->textureGen[0];
    ASSERT_TRUE(Graphics(640, 480));
    EXPECT_EQ(GraphicsWidth(), 640);
    Cls();
    SetBlend(SOLIDBLEND);
    DrawImage(img, 100, 100);
    EXPECT_NE(img->textureGen[0], before);
    PixmapPtr frame = GrabPixmap(0, 0, 640, 480);
    EXPECT_TRUE(Near(frame, 108, 108, {0, 255, 0}, 0, "rebuilt texture"));
    ImagePtr other = LoadImage(Solid(4, 4, 0xFFFFFFFFu), 0);
    DrawImage(other, 0, 0);
    other.reset();  // frees its texture in the open context
    EndGraphics();
    img.reset();  // its texture went with the display: nothing to free
}

TEST_F(RealDisplay, FlipPacesPresentsOnTheWallClock) {
    Flip(-1);  // on the schedule from here
    const int64_t t0 = MilliSecs64();
    for (int i = 0; i < 30; ++i) {
        Cls();
        Flip(-1);
    }
    // Thirty frames at 60 Hz are 500 ms after the first tick; t0 was taken
    // a present after it, so allow for that present.
    EXPECT_GE(MilliSecs64() - t0, 450);
    EXPECT_FALSE(AppTerminate());
}

TEST_F(RealDisplay, MipmappedImagesDrawScaledDown) {
    // The game's fonts and some pictures use flags 6 and 7.
    for (int flags : {int{MIPMAPPEDIMAGE}, MIPMAPPEDIMAGE | FILTEREDIMAGE, MIPMAPPEDIMAGE | FILTEREDIMAGE | MASKEDIMAGE}) {
        Cls();
        ImagePtr img = LoadImage(Solid(60, 60, 0xFF20C040u), flags);
        SetBlend(ALPHABLEND);
        SetScale(0.25f, 0.25f);
        DrawImage(img, 100, 100);
        SetScale(1, 1);
        PixmapPtr frame = GrabPixmap(0, 0, 200, 200);
        EXPECT_TRUE(Near(frame, 107, 107, {0x20, 0xC0, 0x40}, 2, "mipmapped, a quarter size")) << flags;
        EXPECT_TRUE(Near(frame, 120, 107, {0, 0, 0}, 0, "nothing beyond")) << flags;
    }
}

// The SDL events the device translates, pushed into SDL's own queue.
TEST_F(RealDisplay, SdlEventsBecomeTheGamesInput) {
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    ASSERT_TRUE(window);
    const Uint32 id = SDL_GetWindowID(window);
    auto windowEvent = [&](Uint8 what, Uint32 windowId) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = what;
        e.window.windowID = windowId;
        SDL_PushEvent(&e);
    };
    auto key = [](Uint32 type, SDL_Keycode sym, Uint8 repeat) {
        SDL_Event e{};
        e.type = type;
        e.key.keysym.sym = sym;
        e.key.repeat = repeat;
        SDL_PushEvent(&e);
    };
    PollSystem();
    FlushKeys();
    FlushMouse();

    windowEvent(SDL_WINDOWEVENT_CLOSE, id);
    EXPECT_TRUE(AppTerminate()) << "the close button asks to quit";
    EXPECT_FALSE(AppTerminate());
    EXPECT_TRUE(GraphicsOpen()) << "and does not close the window";
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_TRUE(AppTerminate());

    key(SDL_KEYDOWN, SDLK_g, 0);
    key(SDL_KEYDOWN, SDLK_g, 1);
    key(SDL_KEYDOWN, SDLK_g, 1);
    EXPECT_TRUE(KeyDown(KEY_G));
    key(SDL_KEYUP, SDLK_g, 0);
    EXPECT_FALSE(KeyDown(KEY_G));
    EXPECT_EQ(KeyHit(KEY_G), 1) << "repeats are not hits";

    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    std::strcpy(text.text.text, "\xC3\xA9\xE2\x82\xAC" "a");
    SDL_PushEvent(&text);
    EXPECT_EQ(GetChar(), 0xE9);
    EXPECT_EQ(GetChar(), 'a');
    EXPECT_EQ(GetChar(), 0);

    SDL_Event click{};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.button = SDL_BUTTON_RIGHT;
    click.button.x = 77;
    click.button.y = 88;
    SDL_PushEvent(&click);
    EXPECT_EQ(MouseHit(MOUSE_RIGHT), 1);
    EXPECT_TRUE(MouseDown(MOUSE_RIGHT));
    EXPECT_EQ(MouseX(), 77);
    EXPECT_EQ(MouseY(), 88);

    windowEvent(SDL_WINDOWEVENT_FOCUS_LOST, id + 1000);
    EXPECT_FALSE(AppSuspended()) << "another window's focus is not ours";
    windowEvent(SDL_WINDOWEVENT_FOCUS_LOST, id);
    EXPECT_TRUE(AppSuspended());
    EXPECT_FALSE(MouseDown(MOUSE_RIGHT)) << "losing the focus clears input";
    windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED, id);
    EXPECT_FALSE(AppSuspended());
    windowEvent(SDL_WINDOWEVENT_MINIMIZED, id);
    EXPECT_TRUE(AppSuspended());
    windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED, id);
    EXPECT_FALSE(AppSuspended());
}

TEST(RealModes, ModesAndWindowTitle) {
    SetAppTitle("Quillimar display test");
    const int n = CountGraphicsModes();
    for (int i = 0; i < n; ++i) {
        int w = 0, h = 0, d = 0, hz = 0;
        ASSERT_TRUE(GetGraphicsMode(i, w, h, d, hz));
        EXPECT_GT(w, 0);
        EXPECT_GT(d, 0);
    }
    EXPECT_TRUE(IsOpenGLDriver());
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
