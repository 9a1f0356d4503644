// The headless drivers every benchmark runs on, whichever of them runs first.
#pragma once

// Called by every benchmark before it starts the display or the game: SDL's dummy video and
// audio drivers and OpenAL's null device, unless the environment names others. Video started
// before this would come up on whatever display the machine has.
void UseHeadlessDrivers();
