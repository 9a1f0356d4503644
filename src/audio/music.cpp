// The music playlist. Until the sound device arrives, only the current track is kept.
#include "audio/music.h"

#include "game/random.h"

int CurrentTrack = -1;

void StartMusicTrack(int n) { CurrentTrack = n; }

void StartRandomMusicTrack() { StartMusicTrack(1 + Random() % 3); }
