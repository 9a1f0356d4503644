// A sound file played on one OpenAL source: WAV whole, Ogg Vorbis whole or streamed.
#pragma once

#include <AL/al.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct OggVorbis_File;
struct vorbis_info;

// ---- Buffers ----
// What an OpenAL buffer was made for.
struct BufferRecord {
    ALuint Buffer = 0;     // the OpenAL buffer name
    std::string FileName;  // the file name exactly as the source was opened with
    ALsizei Rate = 0;      // sampling rate in Hz
    ALenum Format = 0;     // AL_FORMAT_MONO16 / AL_FORMAT_STEREO16 for Ogg; as loaded for WAV
};
// Every buffer a source has made, by buffer name; emptied when the sound device stops.
extern std::map<ALuint, BufferRecord> BufferRegistry;

// ---- Streaming ----
// Buffers queued on a streaming source.
constexpr int StreamBufferCount = 2;
// Bytes of decoded 16-bit samples per stream buffer (a little over half a second of stereo).
constexpr int StreamBufferBytes = 100024;
// Largest Ogg file decoded whole into one buffer, in decoded bytes (about six minutes of stereo).
constexpr int64_t WholeFileMaxBytes = 64 * 1024 * 1024;

// One OpenAL source and the file it plays. Closed after construction and after Close.
class SoundSource {
  public:
    // Called at program start for the music's source: closed, at the listener, standing still.
    SoundSource();
    // Called at program exit for the music's source: ends decoding and closes the file.
    virtual ~SoundSource();
    SoundSource(const SoundSource&) = delete;
    SoundSource& operator=(const SoundSource&) = delete;

    // Called by the music on a closed source: opens `name` by its extension (".wav" whole,
    // ".ogg" whole or streamed) on a new OpenAL source. False without a device or a readable file.
    bool Open(const std::string& name, bool loop, bool streaming);
    // Called by the music after a successful Open, and by Update to restart a starved stream.
    void Play();
    // Called by Update at the end of a stream that does not loop.
    void Stop();
    // Called by the music when its volume falls to 0: a playing source holds where it is.
    void Pause();
    // Called by the music when its volume is above 0: a paused source, or one opened but not yet
    // played, plays (on from where it paused).
    void Resume();
    // Called by the music before every new track: stops and deletes the source, ends decoding
    // and deletes the stream buffers; whole-file buffers stay registered for the next Open.
    void Close();
    // Called by the music when a streamed track's decoder has reached its end: the same source
    // goes on decoding the Ogg file `name` into the same buffers, so what is queued plays out and
    // the next track follows without a gap. False when the source is not streaming, the file
    // cannot be decoded or its rate or channels differ; the caller then opens it anew.
    bool Continue(const std::string& name);
    // Called by the music with the music volume; clamped to 0..1.
    void SetGain(float gain);
    // Called every frame by the music: refills played stream buffers, restarts a starved looping
    // stream. False without a device, or once when the end of the stream was reached.
    bool Update();
    // Called after every frame by the music: seconds until Update must refill the stream's played
    // buffers at the latest, before the queue runs dry (0 when a starved looping stream must
    // restart); platform::NoChangeDue when nothing streams.
    float SecondsUntilRefill() const;

    // ---- Placement ----
    ALfloat Velocity[3];  // source velocity, always (0, 0, 0)
    ALfloat Position[3];  // source position, always (0, 0, 0)

  private:
    // Called by Open for ".wav": the registered buffer of that name, or a new one loaded whole.
    bool OpenWav(const std::string& name);
    // Called by Open for ".ogg": the decoder, then a registered whole buffer, one new whole
    // buffer, or the queued stream buffers.
    bool OpenOgg(const std::string& name, bool streaming);
    // Called by OpenOgg and Update: decodes up to `bytes` into `buffer`; false when the stream
    // ended or failed before the buffer was full.
    bool Refill(ALuint buffer, int64_t bytes);
    // Called by Pause and Resume: the source's OpenAL state, AL_STOPPED while closed.
    ALint SourceState() const;

    bool Loop = false;                  // at the end of a stream, go on from its start
    ALuint Source = 0;                  // the OpenAL source; 0 while closed
    OggVorbis_File* Decoder = nullptr;  // the open Ogg decoder, owned; null without one
    vorbis_info* Info = nullptr;        // the decoder's stream description
    std::ifstream File;                 // the open sound file that the decoder reads
    bool Streaming = false;             // an Ogg file is open in streaming mode
    std::vector<ALuint> StreamBuffers;  // the stream buffers this source made, deleted by Close
};
