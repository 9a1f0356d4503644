// The kept background: a screen's whole-frame picture stays in the back buffer from one frame to
// the next, so a frame copies back only what was drawn over it since, not the whole picture; and
// the present compares with the picture shown only the rows drawn since it was shown.
#pragma once

#include "gfx/sprite.h"

// Called by the Sprites for every drawing into the back buffer, before it is drawn: the area it
// may write.
void NoteBackBufferDrawn(const Rect& area);

// Called when the back buffer's pixels changed other than by a drawing (made anew, restored after
// a loss): the next background is drawn whole, and every row counts as drawn.
void ForgetKeptBackground();

// Called by a Sprite as it is deleted: it is no longer the background kept.
void PictureGone(const Sprite* picture);

// Called by Present: the rows of the back buffer drawn since the last picture shown; every other
// row is as it was shown.
platform::RowSpan RowsDrawnSinceShown();

// Called by Present once the back buffer was shown: no row is drawn since.
void BackBufferShown();

// Called by the screens in place of drawing `picture` whole at (0, 0) of the back buffer: the
// same pixels, copying only where the back buffer does not already hold them.
void DrawBackground(Sprite* picture);

// Called by tests between frames: true when every cell of the back buffer not drawn over since
// the kept background was drawn still holds that background's pixels (or none is kept).
bool KeptBackgroundIntact();
