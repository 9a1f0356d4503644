// The music playlist: the menu track and the three play tracks.
#pragma once

// ---- Playlist ----
// The track playing or last started, 0 (menus) to 3; -1 before any track was started.
extern int CurrentTrack;

// Called by start-up and by the screens that lead back to the menus; n is 0..3.
void StartMusicTrack(int n);

// Called when a game begins or is continued; starts one of the play tracks 1..3.
void StartRandomMusicTrack();
