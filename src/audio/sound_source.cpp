// Sound sources: WAV files through freealut, Ogg Vorbis through libvorbisfile over our own
// file callbacks, decoded whole into one buffer or streamed through two.
#include "audio/sound_source.h"

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <AL/alut.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "audio/sound_device.h"
#include "platform/frame_pacing.h"

std::map<ALuint, BufferRecord> BufferRegistry;

namespace {
// Seconds of queued music left when a played stream buffer is refilled at the latest.
constexpr float RefillMargin = 0.25f;

// The last registered buffer made for `name`, or nullptr.
const BufferRecord* FindBuffer(const std::string& name) {
    const BufferRecord* found = nullptr;
    for (const auto& entry : BufferRegistry) {
        if (entry.second.FileName == name) found = &entry.second;
    }
    return found;
}

// The text after the last '.' of `name`, in upper case; empty without a '.'.
std::string UpperExtension(const std::string& name) {
    size_t dot = name.rfind('.');
    std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return extension;
}

// ---- The decoder's access to the open file ----

size_t StreamRead(void* destination, size_t size, size_t count, void* stream) {
    auto* file = static_cast<std::ifstream*>(stream);
    file->read(static_cast<char*>(destination), static_cast<std::streamsize>(size * count));
    return static_cast<size_t>(file->gcount());
}

int StreamSeek(void* stream, ogg_int64_t offset, int whence) {
    auto* file = static_cast<std::ifstream*>(stream);
    file->clear();
    std::ios::seekdir origin;
    if (whence == SEEK_SET) {
        origin = std::ios::beg;
    } else if (whence == SEEK_CUR) {
        origin = std::ios::cur;
    } else if (whence == SEEK_END) {
        origin = std::ios::end;
    } else {
        return -1;
    }
    file->seekg(offset, origin);
    return 0;
}

int StreamClose(void*) { return 0; }

long StreamTell(void* stream) {
    auto* file = static_cast<std::ifstream*>(stream);
    if (file->fail()) return -1;
    return static_cast<long>(file->tellg());
}

constexpr ov_callbacks StreamCallbacks = {StreamRead, StreamSeek, StreamClose, StreamTell};

}  // namespace

SoundSource::SoundSource() : Velocity{0.0f, 0.0f, 0.0f}, Position{0.0f, 0.0f, 0.0f} {}

SoundSource::~SoundSource() {
    if (File.is_open()) File.close();
    if (Decoder != nullptr) ov_clear(Decoder);
    delete Decoder;
}

bool SoundSource::Open(const std::string& name, bool loop, bool streaming) {
    if (SoundDevice == nullptr) return false;
    if (!std::ifstream(name, std::ios::binary)) return false;
    Loop = loop;
    alGenSources(1, &Source);
    if (!CheckAlError()) return false;
    alSourcef(Source, AL_PITCH, 1.0f);
    alSourcef(Source, AL_GAIN, 1.0f);
    alSourcefv(Source, AL_POSITION, Position);
    alSourcefv(Source, AL_VELOCITY, Velocity);
    alSourcei(Source, AL_LOOPING, Loop ? AL_TRUE : AL_FALSE);
    std::string extension = UpperExtension(name);
    if (extension == "WAV") return OpenWav(name);
    if (extension == "OGG") {
        Streaming = streaming;
        return OpenOgg(name, streaming);
    }
    return false;
}

bool SoundSource::OpenWav(const std::string& name) {
    if (const BufferRecord* record = FindBuffer(name)) {
        alSourcei(Source, AL_BUFFER, static_cast<ALint>(record->Buffer));
        return true;
    }
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (!CheckAlError()) return false;
    std::vector<ALbyte> path(name.begin(), name.end());
    path.push_back('\0');
    ALenum format = 0;
    ALvoid* data = nullptr;
    ALsizei size = 0;
    ALsizei frequency = 0;
    ALboolean loop = AL_FALSE;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    alutLoadWAVFile(path.data(), &format, &data, &size, &frequency, &loop);
    bool loaded = data != nullptr && CheckAlError();
    if (loaded) {
        alBufferData(buffer, format, data, size, frequency);
        loaded = CheckAlError();
    }
    if (data != nullptr) alutUnloadWAV(format, data, size, frequency);
#pragma GCC diagnostic pop
    if (!loaded) {
        alDeleteBuffers(1, &buffer);
        return false;
    }
    BufferRegistry[buffer] = BufferRecord{buffer, name, frequency, format};
    alSourcei(Source, AL_BUFFER, static_cast<ALint>(buffer));
    return true;
}

bool SoundSource::OpenOgg(const std::string& name, bool streaming) {
    Decoder = new OggVorbis_File{};
    File.open(name, std::ios::binary);
    if (!File.is_open()) File.setstate(std::ios::failbit);
    if (ov_open_callbacks(&File, Decoder, nullptr, 0, StreamCallbacks) < 0) return false;
    const BufferRecord* record = nullptr;
    int64_t bytes = StreamBufferBytes;
    int bufferCount = StreamBufferCount;
    if (streaming) {
        alSourcei(Source, AL_LOOPING, AL_FALSE);
    } else {
        record = FindBuffer(name);
        bytes = std::max<int64_t>(ov_pcm_total(Decoder, -1), 0) * 4;
        if (bytes > WholeFileMaxBytes) return false;
        bufferCount = 1;
    }
    Info = ov_info(Decoder, -1);
    ALsizei rate = static_cast<ALsizei>(Info->rate);
    ALenum format = Info->channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    if (record != nullptr) {
        alSourcei(Source, AL_BUFFER, static_cast<ALint>(record->Buffer));
        return true;
    }
    for (int i = 0; i < bufferCount; ++i) {
        ALuint buffer = 0;
        alGenBuffers(1, &buffer);
        if (!CheckAlError()) return false;
        BufferRegistry[buffer] = BufferRecord{buffer, name, rate, format};
        Refill(buffer, bytes);
        if (!CheckAlError()) return false;
        if (streaming) {
            StreamBuffers.push_back(buffer);
            alSourceQueueBuffers(Source, 1, &buffer);
            if (!CheckAlError()) return false;
        } else {
            alSourcei(Source, AL_BUFFER, static_cast<ALint>(buffer));
        }
    }
    return true;
}

bool SoundSource::Refill(ALuint buffer, int64_t bytes) {
    if (bytes <= 0) return false;
    std::vector<char> block(static_cast<size_t>(bytes));
    int64_t count = 0;
    long result = 0;
    while (count < bytes) {
        int section = 0;
        int wanted = static_cast<int>(std::min<int64_t>(bytes - count, 1 << 30));
        result = ov_read(Decoder, block.data() + count, wanted, 0, 2, 1, &section);
        if (result > 0) {
            count += result;
        } else if (result != OV_HOLE) {
            break;  // the end of the stream, or an error the decoder cannot get past
        }
    }
    // A refill that got nothing still uploads one silent frame, so that the buffer has the
    // stream's format (it can be queued) and holds no samples from an earlier refill.
    if (count == 0) count = std::min<int64_t>(bytes, 4);
    const BufferRecord& record = BufferRegistry[buffer];
    alBufferData(buffer, record.Format, block.data(), static_cast<ALsizei>(count), record.Rate);
    CheckAlError();
    return result > 0;
}

bool SoundSource::Update() {
    if (SoundDevice == nullptr) return false;
    if (!Streaming || !alIsSource(Source)) return true;
    ALint processed = 0;
    alGetSourcei(Source, AL_BUFFERS_PROCESSED, &processed);
    for (ALint i = 0; i < processed; ++i) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(Source, 1, &buffer);
        if (!CheckAlError()) return true;
        if (!Refill(buffer, StreamBufferBytes)) {
            ov_pcm_seek(Decoder, 0);
            alSourceQueueBuffers(Source, 1, &buffer);
            if (!CheckAlError()) return true;
            if (!Loop) Stop();
            return false;
        }
        alSourceQueueBuffers(Source, 1, &buffer);
        if (!CheckAlError()) return true;
    }
    ALint state = 0;
    alGetSourcei(Source, AL_SOURCE_STATE, &state);
    if (state == AL_STOPPED && Loop) Play();
    return true;
}

float SoundSource::SecondsUntilRefill() const {
    if (SoundDevice == nullptr || !Streaming || Info == nullptr || !alIsSource(Source))
        return platform::NoChangeDue;
    ALint queued = 0;
    ALint state = 0;
    ALint offset = 0;
    alGetSourcei(Source, AL_BUFFERS_QUEUED, &queued);
    alGetSourcei(Source, AL_SOURCE_STATE, &state);
    alGetSourcei(Source, AL_SAMPLE_OFFSET, &offset);
    if (state == AL_STOPPED && Loop) return 0.0f;
    if (state != AL_PLAYING) return platform::NoChangeDue;
    // The offset counts from the start of the queue, played buffers included. The refill can
    // wait until little is left to play, so it mostly comes in a frame that runs anyway; a queue
    // with a shorter last buffer of a track runs dry sooner, and the refill comes earlier then.
    const ALint perBuffer = StreamBufferBytes / (2 * Info->channels);
    const float left =
        static_cast<float>(queued * perBuffer - offset) / static_cast<float>(Info->rate);
    return std::max(left - RefillMargin, 0.0f);
}

void SoundSource::Play() {
    if (SoundDevice != nullptr && alIsSource(Source)) alSourcePlay(Source);
}

void SoundSource::Stop() {
    if (SoundDevice != nullptr && alIsSource(Source)) alSourceStop(Source);
}

void SoundSource::Pause() {
    if (SourceState() == AL_PLAYING) alSourcePause(Source);
}

void SoundSource::Resume() {
    const ALint state = SourceState();
    if (state == AL_PAUSED || state == AL_INITIAL) alSourcePlay(Source);
}

ALint SoundSource::SourceState() const {
    ALint state = AL_STOPPED;
    if (SoundDevice != nullptr && alIsSource(Source)) alGetSourcei(Source, AL_SOURCE_STATE, &state);
    return state;
}

void SoundSource::SetGain(float gain) {
    if (SoundDevice == nullptr || !alIsSource(Source)) return;
    if (!(gain >= 0.0f)) gain = 0.0f;
    if (gain > 1.0f) gain = 1.0f;
    alSourcef(Source, AL_GAIN, gain);
}

void SoundSource::Close() {
    if (File.is_open()) File.close();
    if (SoundDevice != nullptr && alIsSource(Source)) {
        alSourceStop(Source);
        alDeleteSources(1, &Source);
    }
    Source = 0;
    // A stream's buffers are its own; without a device they went with its context.
    for (ALuint buffer : StreamBuffers) {
        if (SoundDevice != nullptr) alDeleteBuffers(1, &buffer);
        BufferRegistry.erase(buffer);
    }
    StreamBuffers.clear();
    if (Decoder != nullptr) {
        ov_clear(Decoder);
        delete Decoder;
        Decoder = nullptr;
    }
    Info = nullptr;
    Streaming = false;
}

bool SoundSource::Continue(const std::string& name) {
    if (SoundDevice == nullptr || !Streaming || Decoder == nullptr || Info == nullptr) return false;
    const long rate = Info->rate;
    const int channels = Info->channels;
    ov_clear(Decoder);
    Info = nullptr;
    File.close();
    File.clear();
    File.open(name, std::ios::binary);
    if (!File.is_open()) return false;
    if (ov_open_callbacks(&File, Decoder, nullptr, 0, StreamCallbacks) < 0) return false;
    Info = ov_info(Decoder, -1);
    return Info != nullptr && Info->rate == rate && Info->channels == channels;
}
