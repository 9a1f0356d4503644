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

}  // namespace

void StartMusicTrack(int n) {
    CurrentTrack = n;
    std::string path = platform::GamePath(std::string("music\\") + TrackNames[n]);
    StopMusic();
    if (MusicSource.Open(path, true, true)) MusicSource.Play();
    SetMusicVolume(MusicVolume);
}

void StartRandomMusicTrack() { StartMusicTrack(Random() % 3 + 1); }

void StopMusic() { MusicSource.Close(); }

void UpdateMusic(bool inMenus) {
    if (MusicSource.Update()) return;
    if (inMenus) {
        StartMusicTrack(0);
        return;
    }
    CurrentTrack = CurrentTrack + 1 >= TrackCount ? 1 : CurrentTrack + 1;
    StartMusicTrack(CurrentTrack);
}

void SetMusicVolume(float gain) {
    MusicVolume = gain;
    MusicSource.SetGain(gain);
}
