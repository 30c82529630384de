// Polled keyboard and mouse state, fed by the device's events (or by the
// test script) and read by the game once a frame.
//
// Index: state · feeding · key codes · queries
#include <SDL_keycode.h>

#include <array>
#include <deque>
#include "platform/gfx_internal.h"
#include "platform/input.h"

namespace plat {

namespace {
constexpr int kKeys = 256;
constexpr int kButtons = 4;  // 1 left, 2 right, 3 middle
constexpr size_t kMaxChars = 256;

struct InputState {
    std::array<int, kKeys> keyHits{};
    std::array<bool, kKeys> keyDown{};
    std::deque<int> chars;
    std::array<int, kButtons> mouseHits{};
    std::array<bool, kButtons> mouseDown{};
    int mouseX = 0, mouseY = 0;
    bool suspended = false;
    bool terminate = false;
};
InputState g_in;

void ClearKeys() {
    g_in.keyHits.fill(0);
    g_in.keyDown.fill(false);
    g_in.chars.clear();
}

void ClearMouse() {
    g_in.mouseHits.fill(0);
    g_in.mouseDown.fill(false);
}

bool KeyInRange(int key) { return key > 0 && key < kKeys; }
bool ButtonInRange(int button) { return button > 0 && button < kButtons; }
}  // namespace

namespace detail {

// ---- feeding ------------------------------------------------------------------------
void InputKey(int key, bool down, bool repeat) {
    if (!KeyInRange(key)) return;
    if (!down) {
        g_in.keyDown[static_cast<size_t>(key)] = false;
        return;
    }
    // Editing keys also arrive as characters (the name entry reads them with
    // GetChar), repeats included, as typed text repeats.
    if (key == KEY_BACKSPACE || key == KEY_TAB || key == KEY_ENTER || key == KEY_ESCAPE) InputChar(key);
    if (repeat) return;
    g_in.keyDown[static_cast<size_t>(key)] = true;
    ++g_in.keyHits[static_cast<size_t>(key)];
}

void InputChar(int c) {
    if (c <= 0 || c > 255) return;
    if (g_in.chars.size() >= kMaxChars) return;  // a full queue drops what comes later
    g_in.chars.push_back(c);
}

void InputMouseMove(int x, int y) {
    g_in.mouseX = x;
    g_in.mouseY = y;
}

void InputMouseButton(int button, bool down) {
    if (!ButtonInRange(button)) return;
    g_in.mouseDown[static_cast<size_t>(button)] = down;
    if (down) ++g_in.mouseHits[static_cast<size_t>(button)];
}

void InputActive(bool active) {
    if (g_in.suspended == !active) return;
    g_in.suspended = !active;
    // Whatever was held when the focus went, its release goes elsewhere: only
    // held states are forgotten, and only then. Presses already counted and
    // typed characters stay, on both edges: the system reports a focus change
    // a while after the click that caused it (a click into the window, its
    // focus noted late), and clearing there lost that click.
    if (active) return;
    g_in.keyDown.fill(false);
    g_in.mouseDown.fill(false);
}

void InputQuit() { g_in.terminate = true; }

void ResetInput() { g_in = InputState{}; }

// ---- key codes ------------------------------------------------------------------------
int KeyFromSDL(int k) {
    if (k >= SDLK_a && k <= SDLK_z) return KEY_A + (k - SDLK_a);
    if (k >= SDLK_0 && k <= SDLK_9) return KEY_0 + (k - SDLK_0);
    if (k >= SDLK_F1 && k <= SDLK_F12) return KEY_F1 + (k - SDLK_F1);
    switch (k) {
        case SDLK_BACKSPACE: return KEY_BACKSPACE;
        case SDLK_TAB: return KEY_TAB;
        case SDLK_RETURN: case SDLK_KP_ENTER: return KEY_RETURN;
        case SDLK_ESCAPE: return KEY_ESCAPE;
        case SDLK_SPACE: return KEY_SPACE;
        case SDLK_PAGEUP: return KEY_PAGEUP;
        case SDLK_PAGEDOWN: return KEY_PAGEDOWN;
        case SDLK_END: return KEY_END;
        case SDLK_HOME: return KEY_HOME;
        case SDLK_LEFT: return KEY_LEFT;
        case SDLK_UP: return KEY_UP;
        case SDLK_RIGHT: return KEY_RIGHT;
        case SDLK_DOWN: return KEY_DOWN;
        case SDLK_INSERT: return KEY_INSERT;
        case SDLK_DELETE: return KEY_DELETE;
        case SDLK_LSHIFT: return KEY_LSHIFT;
        case SDLK_RSHIFT: return KEY_RSHIFT;
        case SDLK_LCTRL: return KEY_LCONTROL;
        case SDLK_RCTRL: return KEY_RCONTROL;
        case SDLK_LALT: return KEY_LALT;
        case SDLK_RALT: return KEY_RALT;
        case SDLK_LGUI: return KEY_LSYS;
        case SDLK_RGUI: return KEY_RSYS;
        default: return 0;
    }
}

std::string Utf8ToLatin1(const std::string& utf8) {
    std::string out;
    const size_t n = utf8.size();
    for (size_t i = 0; i < n;) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        int len = 0;
        unsigned cp = 0;
        if (c < 0x80) len = 1, cp = c;
        else if ((c & 0xE0) == 0xC0) len = 2, cp = c & 0x1Fu;
        else if ((c & 0xF0) == 0xE0) len = 3, cp = c & 0x0Fu;
        else if ((c & 0xF8) == 0xF0) len = 4, cp = c & 0x07u;
        else { ++i; continue; }  // a stray continuation byte
        if (i + static_cast<size_t>(len) > n) break;
        bool ok = true;
        for (int k = 1; k < len; ++k) {
            const unsigned char cc = static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]);
            if ((cc & 0xC0) != 0x80) { ok = false; break; }
            cp = (cp << 6) | (cc & 0x3Fu);
        }
        if (!ok) { ++i; continue; }
        i += static_cast<size_t>(len);
        if (cp > 0 && cp < 256) out.push_back(static_cast<char>(cp));
    }
    return out;
}

bool InputSuspended() { return g_in.suspended; }
bool InputTakeTerminate() {
    const bool t = g_in.terminate;
    g_in.terminate = false;
    return t;
}

}  // namespace detail

// ---- queries ----------------------------------------------------------------------------
int KeyHit(int key) {
    PollSystem();
    if (!KeyInRange(key)) return 0;
    const int n = g_in.keyHits[static_cast<size_t>(key)];
    g_in.keyHits[static_cast<size_t>(key)] = 0;
    return n;
}

bool KeyDown(int key) {
    PollSystem();
    return KeyInRange(key) && g_in.keyDown[static_cast<size_t>(key)];
}

int GetChar() {
    PollSystem();
    if (g_in.chars.empty()) return 0;
    const int c = g_in.chars.front();
    g_in.chars.pop_front();
    return c;
}

void FlushKeys() {
    PollSystem();
    ClearKeys();
}

void FlushMouse() {
    PollSystem();
    ClearMouse();
}

int MouseX() {
    PollSystem();
    return g_in.mouseX;
}

int MouseY() {
    PollSystem();
    return g_in.mouseY;
}

int MouseHit(int button) {
    PollSystem();
    if (!ButtonInRange(button)) return 0;
    const int n = g_in.mouseHits[static_cast<size_t>(button)];
    g_in.mouseHits[static_cast<size_t>(button)] = 0;
    return n;
}

bool MouseDown(int button) {
    PollSystem();
    return ButtonInRange(button) && g_in.mouseDown[static_cast<size_t>(button)];
}

void MoveMouse(int x, int y) {
    detail::Gfx().WarpMouse(x, y);
    g_in.mouseX = x;
    g_in.mouseY = y;
}

void HideMouse() { detail::Gfx().ShowCursor(false); }
void ShowMouse() { detail::Gfx().ShowCursor(true); }

bool AppSuspended() {
    PollSystem();
    return g_in.suspended;
}

bool AppTerminate() {
    PollSystem();
    return detail::InputTakeTerminate();
}

}  // namespace plat
