// Keyboard and mouse, polled. Each query first processes pending events.
#pragma once

namespace plat {

enum Key : int {
    KEY_BACKSPACE = 8, KEY_TAB = 9, KEY_ENTER = 13, KEY_RETURN = 13, KEY_ESCAPE = 27, KEY_SPACE = 32,
    KEY_PAGEUP = 33, KEY_PAGEDOWN = 34, KEY_END = 35, KEY_HOME = 36,
    KEY_LEFT = 37, KEY_UP = 38, KEY_RIGHT = 39, KEY_DOWN = 40, KEY_INSERT = 45, KEY_DELETE = 46,
    KEY_0 = 48, KEY_9 = 57, KEY_A = 65, KEY_G = 71, KEY_P = 80, KEY_Z = 90,
    KEY_F1 = 112, KEY_F12 = 123,
    KEY_LSHIFT = 160, KEY_RSHIFT = 161, KEY_LCONTROL = 162, KEY_RCONTROL = 163,
    KEY_LALT = 164, KEY_RALT = 165, KEY_LSYS = 91, KEY_RSYS = 92
};
enum MouseButton : int { MOUSE_LEFT = 1, MOUSE_RIGHT = 2, MOUSE_MIDDLE = 3 };

// Presses since the last KeyHit for this key (repeats are not presses).
int KeyHit(int key);
bool KeyDown(int key);
// The next typed character (Latin-1), 0 when none; at most 256 wait.
int GetChar();
void FlushKeys();
// After it MouseDown reads false until a new press.
void FlushMouse();
int MouseX();
int MouseY();
int MouseHit(int button);
bool MouseDown(int button);
void MoveMouse(int x, int y);
void HideMouse();
void ShowMouse();

}  // namespace plat
