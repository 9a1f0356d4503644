// What saving as play goes costs: the game's thread hands the bytes over, the writer puts them on
// the disk.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "platform/file_writer.h"
#include "platform/files.h"
#include "screens/save_file.h"

namespace {

namespace fs = std::filesystem;

// The save file's place in a folder of the benchmark's own.
std::string SavePath() {
    const fs::path folder = fs::temp_directory_path() / "pelmaro-save-bench";
    fs::create_directories(folder);
    return (folder / SaveFileName).string();
}

// What a frame pays when a save is due: the game encoded and handed to the writer.
void BM_SaveHandedToTheWriter(benchmark::State& state) {
    const std::string path = SavePath();
    for (auto _ : state) platform::ReplaceFileInBackground(path, EncodeSave());
    platform::FinishBackgroundWrites();
}
BENCHMARK(BM_SaveHandedToTheWriter);

// What the writer pays for one save, off the frame: a new file written, synced and renamed.
void BM_SaveWrittenToTheDisk(benchmark::State& state) {
    const std::string path = SavePath();
    const std::vector<uint8_t> bytes = EncodeSave();
    for (auto _ : state) {
        platform::ReplaceFailure failure{};
        benchmark::DoNotOptimize(platform::ReplaceFile(path, bytes, failure));
    }
    fs::remove_all(fs::path(path).parent_path());
}
BENCHMARK(BM_SaveWrittenToTheDisk)->Unit(benchmark::kMillisecond);

}  // namespace
