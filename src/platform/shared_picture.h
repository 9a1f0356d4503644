// The picture of the game window on an X11 desktop, kept in memory shared with the X server: the
// game writes it and sends it without waiting for the server to take it.
#pragma once

#include "platform/window.h"

namespace platform {

// Called by the window before the picture, `width` by `height` as the window shows it (1:1 or
// scaled), is written into it: the shared pictures of the X window `window` on the desktop named
// `displayName`, made on first use and again for another size, with the one to write next in
// `out` (beside the one shown) once the server has taken its last send. False where memory cannot
// be shared with the X server (a remote server, a colour-mapped desktop), and from then on for
// that window.
bool SharedPicturePixels(unsigned long window, const char* displayName, int width, int height,
                         WindowPixels& out);

// Called after rows top..bottom-1 of the picture to write next were written: sends them to the
// window, the picture's corner at (x, y), without waiting for the server; the other picture is
// written next.
void SendSharedRows(int x, int y, int top, int bottom);

// Called when the window's pixels were spoilt: paints black the part of the window, `width` by
// `height`, that lies outside the picture at (x, y).
void BlackenAroundSharedPicture(int x, int y, int width, int height);

// Called before the window goes: waits for the last send, then lets the shared picture go.
void ReleaseSharedPicture();

}  // namespace platform
