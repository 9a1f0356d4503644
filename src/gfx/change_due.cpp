// Timed changes: the soonest change the steps of a frame reported.
#include "gfx/change_due.h"

#include <algorithm>

#include "platform/frame_pacing.h"

float ChangeDue = platform::NoChangeDue;

void ResetChangeDue() { ChangeDue = platform::NoChangeDue; }

void ChangeDueIn(float seconds) { ChangeDue = std::min(ChangeDue, std::max(seconds, 0.0f)); }
