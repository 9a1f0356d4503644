// The OpenAL device and context that the music plays through, and its error checks.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

// ---- Device ----
// Sampling rate of the baked music tracks in Hz; the context asks the device for the same.
constexpr ALCint MusicRate = 44100;
// The OpenAL device; null until StartSoundDevice succeeds and after StopSoundDevice. Every sound
// source does nothing while it is null.
extern ALCdevice* SoundDevice;
// The OpenAL context on SoundDevice, current while the device is open; null otherwise.
extern ALCcontext* SoundContext;

// Called once by start-up after the sound effects: opens "DirectSound3D", or the default device
// where no device has that name, makes its context current and places the listener. False (and
// no message) without a device; the game then runs without music.
bool StartSoundDevice();
// Called at shutdown after the sound effects are released: deletes every buffer the sources
// made, then closes the context and the device.
void StopSoundDevice();

// Called by the music when it pauses (`rest` true) and plays again: the device's mixing thread
// stops while nothing could sound and starts again. Does nothing on a device that cannot pause.
void RestSoundDevice(bool rest);

// Called after device calls: true when no ALC error is pending; otherwise shows the warning
// "ALC error: " and the library's text in a box captioned "Error", then returns false.
bool CheckAlcError();
// Called after OpenAL calls: the same for the pending OpenAL error, with "OpenAL error: ".
bool CheckAlError();
