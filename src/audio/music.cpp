// The music playlist: track 0 in the menus, tracks 1 to 3 in turn during play.
#include "audio/music.h"

#include <string>

#include "game/random.h"
#include "platform/paths.h"

SoundSource MusicSource;
int CurrentTrack = 0;
float MusicVolume = 1.0f;

namespace {

constexpr const char* TrackNames[TrackCount] = {"track0.ogg", "track1.ogg", "track2.ogg",
                                                "track3.ogg"};

// Where track n's file is.
std::string TrackPath(int n) { return platform::GamePath(std::string("music\\") + TrackNames[n]); }

// A track that ran out is followed on the same stream, so what is still queued of it is heard
// and the next one starts without a gap; a track that cannot follow that way starts anew.
void FollowWithTrack(int n) {
    CurrentTrack = n;
    if (!MusicSource.Continue(TrackPath(n))) StartMusicTrack(n);
}

}  // namespace

void StartMusicTrack(int n) {
    CurrentTrack = n;
    StopMusic();
    if (MusicSource.Open(TrackPath(n), true, true)) MusicSource.Play();
    SetMusicVolume(MusicVolume);
}

void StartRandomMusicTrack() { StartMusicTrack(Random() % 3 + 1); }

void StopMusic() { MusicSource.Close(); }

void UpdateMusic(bool inMenus) {
    if (MusicSource.Update()) return;
    FollowWithTrack(inMenus ? 0 : CurrentTrack + 1 >= TrackCount ? 1 : CurrentTrack + 1);
}

void SetMusicVolume(float gain) {
    MusicVolume = gain;
    MusicSource.SetGain(gain);
}
