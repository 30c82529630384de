// The display, the frame pump and the global 2D drawing state.
#pragma once
#include <stdexcept>
#include <string>
#include "platform/pixmap.h"

namespace plat {

// Raised by Graphics when the display cannot be opened and the backend has
// a reason to give.
class GraphicsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The one 2D driver: textured quads through OpenGL.
enum GraphicsDriver : int { GL_2D_DRIVER = 1 };
enum BlendMode : int { MASKBLEND = 1, SOLIDBLEND = 2, ALPHABLEND = 3, LIGHTBLEND = 4, SHADEBLEND = 5 };

void SetGraphicsDriver(int driver, int flags = 2);
// True when the 2D driver in use draws with OpenGL (the headless recorder
// answers as the OpenGL one so the game's polygon drawing runs under test).
bool IsOpenGLDriver();

int CountGraphicsModes();
bool GetGraphicsMode(int index, int& width, int& height, int& depth, int& hertz);
// Depth 0 opens a centred window with a close button; any other depth
// switches the screen to that full-screen mode. Closes an open display
// first. Returns false (or raises GraphicsError) when nothing opens.
bool Graphics(int width, int height, int depth = 0, int hertz = 60, int flags = 0);
// Starts the display system without opening anything; Graphics does it
// itself when it was not done. Call it before starting threads that
// allocate: as it starts, SDL may fork a helper for the session bus, and a
// fork made while another thread holds the allocator can leave that helper
// hung, and the game waiting on it. False when there is no display.
bool StartVideo();
void EndGraphics();
bool GraphicsOpen();
int GraphicsWidth();
int GraphicsHeight();

// Presents the back buffer. sync -1 paces to the hertz given to Graphics:
// period 1000/hertz ms, the remainder accumulated so that 60 Hz averages
// 16.67 ms, a late frame resets the schedule. Then polls the system.
void Flip(int sync = -1);
void Cls();
void PollSystem();
bool AppSuspended();
// True once after the user asked to quit, then false again.
bool AppTerminate();

void SetColor(int r, int g, int b);  // each clamped to 0..255
void GetColor(int& r, int& g, int& b);
void SetAlpha(float alpha);          // clamped to 0..1, kept as a truncated byte
float GetAlpha();                    // what was set, clamped
void SetBlend(int mode);
int GetBlend();
void SetScale(float sx, float sy);
void GetScale(float& sx, float& sy);
void SetRotation(float degrees);
float GetRotation();
void SetTransform(float degrees = 0, float sx = 1, float sy = 1);
void SetOrigin(float x, float y);
void GetOrigin(float& x, float& y);
void SetHandle(float x, float y);  // for rectangles and text
void GetHandle(float& x, float& y);
void SetClsColor(int r, int g, int b);

void DrawRect(float x, float y, float width, float height);
void DrawLine(float x0, float y0, float x1, float y1);
void DrawPixmap(const PixmapPtr& p, int x, int y);
// Reads back a region of the back buffer (for tests and screenshots).
PixmapPtr GrabPixmap(int x, int y, int width, int height);

}  // namespace plat
