// The ten sound effects, requested by number from game play and the screens.
#pragma once

#include <cstdint>
#include <vector>

// ---- Request log ----
// Every effect number requested through PlaySoundEffect, oldest first; read by tests.
extern std::vector<int> EffectRequests;

// Called by game play and the screens on their events; n is 0..9. Plays effect n once.
void PlaySoundEffect(uint8_t n);
