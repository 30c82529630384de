// The real device: an SDL2 window with an OpenGL 2.1 compatibility context,
// drawing in immediate mode under an orthographic projection with y down.
//
// Index: set-up · display · state · textures · drawing · read-back · events
#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cstring>
#include "platform/app.h"
#include "platform/gfx_internal.h"
#include "platform/input.h"

namespace plat::detail {

namespace {

class GLDevice final : public GfxDevice {
public:
    // ---- set-up ------------------------------------------------------------------------
    bool InitVideo(std::string* error) {
        if (videoInit_) return true;
        SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            if (error) *error = std::string("no video: ") + SDL_GetError();
            return false;
        }
        RefuseUnseenDisplay();
        videoInit_ = true;
        return true;
    }

    // With no display to reach (DISPLAY unset or pointing at no server, or
    // the server refusing the connection), SDL falls back to a driver that
    // draws where no one looks: the game would run its first screens with
    // no window and no word until killed. Such a driver is only right when
    // it was asked for by name, as the display tests do.
    static void RefuseUnseenDisplay() {
        const char* asked = SDL_getenv("SDL_VIDEODRIVER");
        if (asked && *asked) return;
        const char* driver = SDL_GetCurrentVideoDriver();
        const std::string name = driver ? driver : "";
        // SDL spells some names in capitals ("KMSDRM").
        static const char* const kShown[] = {"x11", "wayland", "windows", "cocoa", "kmsdrm"};
        for (const char* shown : kShown)
            if (SDL_strcasecmp(name.c_str(), shown) == 0) return;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        const std::string text = "No display to show the game on: the only video driver that started was \"" + name +
                                 "\", which shows no window. Start the game from a desktop session (on X, with "
                                 "DISPLAY naming a running server).";
        Notify(text, 1);
        throw RuntimeErrorException(text);
    }

    // ---- display -----------------------------------------------------------------------
    bool Open(int width, int height, int depth, int hertz, std::string& error) override {
        Close();
        if (!InitVideo(&error)) return false;
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);

        const bool fullScreen = depth != 0;
        Uint32 flags = SDL_WINDOW_OPENGL;
        if (fullScreen) flags |= SDL_WINDOW_FULLSCREEN | SDL_WINDOW_HIDDEN;
        window_ = SDL_CreateWindow(AppTitle().c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                                   flags);
        if (!window_) {
            error = std::string("no window: ") + SDL_GetError();
            return false;
        }
        if (fullScreen) {
            SDL_DisplayMode want{}, got{};
            want.w = width;
            want.h = height;
            want.refresh_rate = hertz;
            const int display = std::max(0, SDL_GetWindowDisplayIndex(window_));
            if (!SDL_GetClosestDisplayMode(display, &want, &got) || got.w != width || got.h != height ||
                SDL_SetWindowDisplayMode(window_, &got) != 0) {
                error = "no full-screen mode of " + std::to_string(width) + "x" + std::to_string(height);
                Close();
                return false;
            }
            SDL_ShowWindow(window_);
        }
        context_ = SDL_GL_CreateContext(window_);
        if (!context_) {
            error = std::string("no OpenGL context: ") + SDL_GetError();
            Close();
            return false;
        }
        SDL_GL_MakeCurrent(window_, context_);
        SDL_GL_SetSwapInterval(0);
        windowId_ = SDL_GetWindowID(window_);
        width_ = width;
        height_ = height;
        InitState();
        SDL_ShowCursor(cursorShown_ ? SDL_ENABLE : SDL_DISABLE);
        SDL_StartTextInput();
        return true;
    }

    void Close() override {
        if (context_) {
            SDL_GL_DeleteContext(context_);
            context_ = nullptr;
        }
        if (window_) {
            SDL_DestroyWindow(window_);
            window_ = nullptr;
        }
        windowId_ = 0;
        boundTexture_ = 0;
    }

    bool Ready() const override { return context_ != nullptr; }
    bool StartVideo() override { return InitVideo(nullptr); }

    std::vector<testing::Mode> Modes() override {
        std::vector<testing::Mode> modes;
        if (!InitVideo(nullptr)) return modes;
        const int n = SDL_GetNumDisplayModes(0);
        for (int i = 0; i < n; ++i) {
            SDL_DisplayMode m{};
            // Virtual displays may list a mode without a size.
            if (SDL_GetDisplayMode(0, i, &m) != 0 || m.w <= 0 || m.h <= 0) continue;
            modes.push_back({m.w, m.h, static_cast<int>(SDL_BITSPERPIXEL(m.format)), m.refresh_rate});
        }
        return modes;
    }

    void Present() override {
        if (window_) SDL_GL_SwapWindow(window_);
    }

    bool SetVsync(bool on) override { return context_ && SDL_GL_SetSwapInterval(on ? 1 : 0) == 0; }

    void Finish() override {
        if (context_) glFinish();
    }

    // ---- state ----------------------------------------------------------------------------
    void InitState() {
        glViewport(0, 0, width_, height_);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, width_, height_, 0, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        textureOn_ = false;
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        ApplyColor(255, 255, 255, 255);
        ApplyBlend(MASKBLEND);
    }

    void Clear(int r, int g, int b) override {
        glClearColor(static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f, static_cast<float>(b) / 255.0f,
                     1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    // At once, so that polygons drawn next take the colour.
    void ApplyColor(int r, int g, int b, int a) override {
        if (!context_) return;
        glColor4ub(static_cast<GLubyte>(r), static_cast<GLubyte>(g), static_cast<GLubyte>(b),
                   static_cast<GLubyte>(a));
    }

    void ApplyBlend(int mode) override {
        if (!context_) return;
        switch (mode) {
            case MASKBLEND:
                glDisable(GL_BLEND);
                glEnable(GL_ALPHA_TEST);
                glAlphaFunc(GL_GEQUAL, 0.5f);
                break;
            case ALPHABLEND:
                glEnable(GL_BLEND);
                glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
                glDisable(GL_ALPHA_TEST);
                break;
            case LIGHTBLEND:
                glEnable(GL_BLEND);
                glBlendFunc(GL_SRC_ALPHA, GL_ONE);
                glDisable(GL_ALPHA_TEST);
                break;
            case SHADEBLEND:
                glEnable(GL_BLEND);
                glBlendFunc(GL_DST_COLOR, GL_ZERO);
                glDisable(GL_ALPHA_TEST);
                break;
            default:  // SOLIDBLEND and anything unknown
                glDisable(GL_BLEND);
                glDisable(GL_ALPHA_TEST);
                break;
        }
    }

    void UseTexture(unsigned texture) {
        if (texture) {
            if (!textureOn_) glEnable(GL_TEXTURE_2D), textureOn_ = true;
            if (boundTexture_ != texture) glBindTexture(GL_TEXTURE_2D, texture), boundTexture_ = texture;
        } else if (textureOn_) {
            glDisable(GL_TEXTURE_2D);
            textureOn_ = false;
        }
    }

    // ---- textures -------------------------------------------------------------------------
    unsigned MakeTexture(const Pixmap& rgba, int texW, int texH, int flags) override {
        if (!context_ || texW <= 0 || texH <= 0) return 0;
        GLint maxSize = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
        if (texW > maxSize || texH > maxSize) return 0;
        const std::vector<uint8_t> texels = PadToTexture(rgba, texW, texH);
        while (glGetError() != GL_NO_ERROR) {}  // only this upload's errors count below
        GLuint name = 0;
        glGenTextures(1, &name);
        if (!name) return 0;
        glBindTexture(GL_TEXTURE_2D, name);
        boundTexture_ = name;
        const bool filtered = (flags & FILTEREDIMAGE) != 0, mipmapped = (flags & MIPMAPPEDIMAGE) != 0;
        const GLint mag = filtered ? GL_LINEAR : GL_NEAREST;
        const GLint min = mipmapped ? (filtered ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST) : mag;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        // Automatic mipmap generation is core since OpenGL 1.4.
        glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, mipmapped ? GL_TRUE : GL_FALSE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, texW, texH, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        if (glGetError() != GL_NO_ERROR) {
            glDeleteTextures(1, &name);
            boundTexture_ = 0;
            return 0;
        }
        return name;
    }

    void FreeTexture(unsigned texture) override {
        if (!context_ || !texture) return;
        const GLuint name = texture;
        glDeleteTextures(1, &name);
        if (boundTexture_ == texture) boundTexture_ = 0;
    }

    // ---- drawing --------------------------------------------------------------------------
    void Draw(const Prim& p) override {
        if (!context_) return;
        switch (p.type) {
            case Prim::TEXTURED:
                UseTexture(p.texture);
                glBegin(p.n == 4 ? GL_QUADS : GL_POLYGON);
                for (int i = 0; i < p.n; ++i) {
                    glTexCoord2f(p.uv[2 * i], p.uv[2 * i + 1]);
                    glVertex2f(p.xy[2 * i], p.xy[2 * i + 1]);
                }
                glEnd();
                break;
            case Prim::FLAT:
                UseTexture(0);
                glBegin(p.n == 4 ? GL_QUADS : GL_POLYGON);
                for (int i = 0; i < p.n; ++i) glVertex2f(p.xy[2 * i], p.xy[2 * i + 1]);
                glEnd();
                break;
            case Prim::LINES:
                UseTexture(0);
                glBegin(GL_LINES);
                // Through the pixel centres, so a line covers the pixels it names.
                for (int i = 0; i < p.n; ++i) glVertex2f(p.xy[2 * i] + 0.5f, p.xy[2 * i + 1] + 0.5f);
                glEnd();
                break;
            case Prim::PIXMAP:
                DrawPixels(*p.pixmap, p.px, p.py);
                break;
        }
    }

    void DrawPixels(const Pixmap& pm, int x, int y) {
        // Only the visible part: a raster position off the screen draws nothing.
        const int x0 = std::max(x, 0), y0 = std::max(y, 0);
        const int x1 = std::min(x + pm.width, width_), y1 = std::min(y + pm.height, height_);
        if (x0 >= x1 || y0 >= y1) return;
        const int w = x1 - x0, h = y1 - y0;
        std::vector<uint8_t> rgba(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
        const int bpp = BytesPerPixel(pm.format);
        for (int row = 0; row < h; ++row)
            ConvertPixels(pm.Row(y0 - y + row) + static_cast<ptrdiff_t>(x0 - x) * bpp, pm.format,
                          rgba.data() + static_cast<size_t>(row) * w * 4, PF_RGBA, w);
        UseTexture(0);
        // A copy: the blend mode in force must neither mix nor (through its
        // alpha test) drop the pixels; it is back in force afterwards.
        glDisable(GL_BLEND);
        glDisable(GL_ALPHA_TEST);
        glRasterPos2i(x0, y0);
        glPixelZoom(1.0f, -1.0f);
        glDrawPixels(w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        glPixelZoom(1.0f, 1.0f);
        ApplyBlend(State().blend);
    }

    // ---- read-back -------------------------------------------------------------------------
    PixmapPtr Grab(int x, int y, int width, int height) override {
        if (!context_) return nullptr;
        PixmapPtr out = CreatePixmap(width, height, PF_RGBA, 4);
        if (!out) return nullptr;
        ClearPixels(out, 0xFF000000u);
        const int x0 = std::max(x, 0), y0 = std::max(y, 0);
        const int x1 = std::min(x + width, width_), y1 = std::min(y + height, height_);
        if (x0 >= x1 || y0 >= y1) return out;
        const int w = x1 - x0, h = y1 - y0;
        std::vector<uint8_t> rows(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
        glReadBuffer(GL_BACK);
        glReadPixels(x0, height_ - y1, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
        // GL rows run bottom-up; pixmaps top-down.
        for (int row = 0; row < h; ++row) {
            const uint8_t* src = rows.data() + static_cast<size_t>(h - 1 - row) * w * 4;
            std::memcpy(out->Row(y0 - y + row) + static_cast<ptrdiff_t>(x0 - x) * 4, src, static_cast<size_t>(w) * 4);
        }
        return out;
    }

    // ---- events ----------------------------------------------------------------------------
    void PumpEvents() override {
        if (!videoInit_) return;
        // Every pump asks the X server for news, round trips included, and
        // SDL_PollEvent pumps again for each event it hands out. So: one pump
        // a call, and none when the last was under a millisecond ago (Flip
        // pumps, and the screen polls again right after it); an event that
        // slips in between is read on the next frame, not lost.
        const Uint64 now = SDL_GetPerformanceCounter();
        if (pumpedAt_ == 0 || now - pumpedAt_ >= SDL_GetPerformanceFrequency() / 1000) {
            SDL_PumpEvents();
            pumpedAt_ = SDL_GetPerformanceCounter();
        }
        SDL_Event e;
        while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
            switch (e.type) {
                case SDL_QUIT: InputQuit(); break;
                case SDL_KEYDOWN:
                case SDL_KEYUP:
                    InputKey(KeyFromSDL(e.key.keysym.sym), e.type == SDL_KEYDOWN, e.key.repeat != 0);
                    break;
                case SDL_TEXTINPUT:
                    for (unsigned char c : Utf8ToLatin1(e.text.text)) InputChar(c);
                    break;
                case SDL_MOUSEMOTION: InputMouseMove(e.motion.x, e.motion.y); break;
                case SDL_MOUSEBUTTONDOWN:
                case SDL_MOUSEBUTTONUP: {
                    InputMouseMove(e.button.x, e.button.y);
                    const int b = e.button.button == SDL_BUTTON_LEFT    ? MOUSE_LEFT
                                  : e.button.button == SDL_BUTTON_RIGHT ? MOUSE_RIGHT
                                  : e.button.button == SDL_BUTTON_MIDDLE ? MOUSE_MIDDLE
                                                                         : 0;
                    InputMouseButton(b, e.type == SDL_MOUSEBUTTONDOWN);
                    break;
                }
                case SDL_WINDOWEVENT:
                    // A window of an earlier display says goodbye as it goes.
                    if (e.window.windowID != windowId_) break;
                    switch (e.window.event) {
                        case SDL_WINDOWEVENT_FOCUS_LOST:
                        case SDL_WINDOWEVENT_MINIMIZED: InputActive(false); break;
                        case SDL_WINDOWEVENT_FOCUS_GAINED: InputActive(true); break;
                        case SDL_WINDOWEVENT_CLOSE: InputQuit(); break;
                        default: break;
                    }
                    break;
                default: break;
            }
        }
    }

    void ShowCursor(bool show) override {
        cursorShown_ = show;
        if (videoInit_) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
    }

    void WarpMouse(int x, int y) override {
        if (window_) SDL_WarpMouseInWindow(window_, x, y);
    }

private:
    bool videoInit_ = false;
    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    Uint32 windowId_ = 0;
    Uint64 pumpedAt_ = 0;  // performance counter at the last pump
    int width_ = 0, height_ = 0;
    bool textureOn_ = false;
    unsigned boundTexture_ = 0;
    bool cursorShown_ = true;
};

}  // namespace

GfxDevice* MakeGLDevice() { return new GLDevice; }

}  // namespace plat::detail
