// Files replaced off the game's thread: the automatic save written while play goes on.
#include "platform/file_writer.h"

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/files.h"

namespace platform {

namespace {

// What the writer shares with the game's thread, under Guard. It lives as long as the process,
// never destroyed, since the writer thread may still wait on it while the program ends.
struct Shared {
    std::mutex Guard;
    // Told when work arrives and when the writer has finished it.
    std::condition_variable Changed;
    // The file and bytes waiting for the writer.
    std::string WaitingName;
    std::vector<uint8_t> WaitingBytes;
    // True while bytes wait or the writer writes them.
    bool Busy = false;
    // Files the writer has put in place.
    unsigned WritesDone = 0;
};

// The shared state; made, with the writer thread, when the first file is handed over.
Shared* Writing = nullptr;

// The writer thread: takes the waiting bytes, writes them without holding the guard, and says
// when everything is done.
void Writer() {
    Shared& shared = *Writing;
    std::unique_lock<std::mutex> lock(shared.Guard);
    for (;;) {
        shared.Changed.wait(lock, [&] { return shared.Busy; });
        std::string name;
        std::vector<uint8_t> bytes;
        name.swap(shared.WaitingName);
        bytes.swap(shared.WaitingBytes);
        lock.unlock();
        ReplaceFailure failure{};
        const bool written = ReplaceFile(name, bytes, failure);
        if (!written)
            std::fprintf(stderr, "Pelmaro: the game could not be saved to %s (%s).\n",
                         failure.file.c_str(), failure.reason.c_str());
        lock.lock();
        if (written) ++shared.WritesDone;
        if (shared.WaitingBytes.empty()) shared.Busy = false;
        shared.Changed.notify_all();
    }
}

}  // namespace

void ReplaceFileInBackground(const std::string& name, std::vector<uint8_t> bytes) {
    if (Writing == nullptr) {
        Writing = new Shared;
        std::thread(Writer).detach();
    }
    std::lock_guard<std::mutex> lock(Writing->Guard);
    Writing->WaitingName = name;
    Writing->WaitingBytes = std::move(bytes);
    Writing->Busy = true;
    Writing->Changed.notify_all();
}

void FinishBackgroundWrites() {
    if (Writing == nullptr) return;
    std::unique_lock<std::mutex> lock(Writing->Guard);
    Writing->Changed.wait(lock, [] { return !Writing->Busy; });
}

unsigned BackgroundWritesDone() {
    if (Writing == nullptr) return 0;
    std::lock_guard<std::mutex> lock(Writing->Guard);
    return Writing->WritesDone;
}

}  // namespace platform
