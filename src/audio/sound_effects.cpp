// The ten sound effects. Until the effect device arrives, requests are only logged.
#include "audio/sound_effects.h"

std::vector<int> EffectRequests;

void PlaySoundEffect(uint8_t n) { EffectRequests.push_back(n); }
