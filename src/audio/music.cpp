// The music playlist: track 0 in the menus, tracks 1 to 3 in turn during play.
#include "audio/music.h"

#include <string>

#include "audio/sound_device.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "shared/random.h"

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

// A play track that follows the menu track rises from silence over this time, milliseconds.
constexpr uint64_t FadeInMs = 300;
bool FadingIn = false;     // the current track is still rising
uint64_t FadeStartMs = 0;  // when it began to rise

// The share 0..1 of MusicVolume the current track has risen to.
float FadeShare() {
    if (!FadingIn) return 1.0f;
    uint64_t elapsed = platform::MillisecondTime() - FadeStartMs;
    if (elapsed >= FadeInMs) FadingIn = false;
    return FadingIn ? static_cast<float>(elapsed) / FadeInMs : 1.0f;
}

}  // namespace

void StartMusicTrack(int n) {
    FadingIn = CurrentTrack == 0 && n != 0;
    FadeStartMs = platform::MillisecondTime();
    CurrentTrack = n;
    StopMusic();
    MusicSource.Open(TrackPath(n), true, true);
    SetMusicVolume(MusicVolume);
}

void StartRandomMusicTrack() { StartMusicTrack(Random() % 3 + 1); }

void StopMusic() { MusicSource.Close(); }

void UpdateMusic(bool inMenus) {
    if (FadingIn) SetMusicVolume(MusicVolume);
    if (MusicSource.Update()) return;
    FollowWithTrack(inMenus ? 0 : CurrentTrack + 1 >= TrackCount ? 1 : CurrentTrack + 1);
}

float MusicDueIn() { return FadingIn ? 0.0f : MusicSource.SecondsUntilRefill(); }

void SetMusicVolume(float gain) {
    MusicVolume = gain;
    MusicSource.SetGain(gain * FadeShare());
    // Music nobody can hear is neither decoded nor mixed: with the knob at its left end the
    // track holds where it stands and goes on from there when the knob moves.
    if (gain > 0.0f) {
        RestSoundDevice(false);
        MusicSource.Resume();
    } else {
        MusicSource.Pause();
        RestSoundDevice(true);
    }
}
