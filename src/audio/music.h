// The music playlist: the menu track and the three play tracks, streamed one after another.
#pragma once

#include "audio/sound_source.h"

// ---- Playlist ----
// The source that streams the current track.
extern SoundSource MusicSource;
// The track last started: 0 is the menu track, 1..3 the play tracks; initially 0.
extern int CurrentTrack;
// Gain 0..1 given to every track started; set from MusicSlider. Initially 1.
extern float MusicVolume;
// Number of tracks in the music folder.
constexpr int TrackCount = 4;

// Called by start-up and by the screens that lead back to the menus; n is 0..3. Starts the
// track from its beginning on a new source at MusicVolume (held at its start while that is 0); a play track that follows the menu
// track fades in over a moment instead.
void StartMusicTrack(int n);
// Called when a game begins or is continued; starts one of the play tracks 1..3 at random.
void StartRandomMusicTrack();
// Called by StartMusicTrack before the next track opens: closes the music source.
void StopMusic();
// Called every frame by the frame driver after the effect volume, `inMenus` true on the title
// and menu screens: raises a track that fades in, streams the track and, when it has been
// decoded to its end, lets the menu track follow it in the menus or the next play track (1, 2,
// 3, 1, ...) otherwise, on the same stream so nothing of the old track is cut and no gap opens.
void UpdateMusic(bool inMenus);
// Called after every frame by the frame driver: seconds until the music must be updated again
// (0 while a track fades in); platform::NoChangeDue while nothing streams.
float MusicDueIn();
// Called by the track starts, every frame by the options screen and by the knob's keys with the
// slider's gain; at 0 the track pauses, above 0 it plays on from where it paused.
void SetMusicVolume(float gain);
