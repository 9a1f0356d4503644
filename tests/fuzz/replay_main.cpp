// Runs a fuzz target without libFuzzer, so that every build can check it: each seed input as it
// is, then random changes of them (bytes flipped, cut off, repeated, spliced) for a given time.
// Usage: <target> CORPUS_DIR SECONDS
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));

namespace {

using Input = std::vector<uint8_t>;

const Input* Current = nullptr;  // the input being tried, kept for the crash handler

// A crash leaves the input that caused it in "fuzz-crash.bin" of the working directory.
void KeepCrashInput(int signal) {
    const int file = open("fuzz-crash.bin", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (file >= 0 && Current != nullptr) {
        (void)!write(file, Current->data(), Current->size());
        close(file);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Tries one input.
void Run(const Input& input) {
    Current = &input;
    LLVMFuzzerTestOneInput(input.data(), input.size());
}

std::vector<Input> ReadSeeds(const std::filesystem::path& folder) {
    std::vector<Input> seeds;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream file(entry.path(), std::ios::binary);
        seeds.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    return seeds;
}

// One random change of a seed, of the kinds that break readers: a few bytes set to chance
// values, the end cut off, a stretch repeated, or the tail of another seed spliced on.
Input Mutate(const std::vector<Input>& seeds, std::mt19937& random) {
    auto pick = [&random](size_t n) { return n == 0 ? 0 : random() % n; };
    Input input = seeds[pick(seeds.size())];
    switch (random() % 4) {
        case 0:
            for (int i = 1 + random() % 8; i > 0 && !input.empty(); --i) {
                input[pick(input.size())] = static_cast<uint8_t>(random());
            }
            break;
        case 1:
            input.resize(pick(input.size() + 1));
            break;
        case 2: {
            const size_t from = pick(input.size());
            const size_t length = pick(std::min<size_t>(input.size() - from, 64) + 1);
            input.insert(input.begin() + static_cast<long>(from), input.begin() + static_cast<long>(from),
                         input.begin() + static_cast<long>(from + length));
            break;
        }
        default: {
            const Input& other = seeds[pick(seeds.size())];
            input.resize(pick(input.size() + 1));
            input.insert(input.end(), other.begin() + static_cast<long>(pick(other.size())),
                         other.end());
            break;
        }
    }
    return input;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR SECONDS\n", argv[0]);
        return 2;
    }
    for (int signal : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL}) std::signal(signal, KeepCrashInput);
    if (LLVMFuzzerInitialize != nullptr) LLVMFuzzerInitialize(&argc, &argv);
    const std::vector<Input> seeds = ReadSeeds(argv[1]);
    if (seeds.empty()) return 2;
    for (const Input& seed : seeds) Run(seed);
    std::mt19937 random(std::random_device{}());
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(std::atoi(argv[2]));
    long runs = static_cast<long>(seeds.size());
    while (std::chrono::steady_clock::now() < until) {
        const Input input = Mutate(seeds, random);
        Run(input);
        ++runs;
    }
    std::printf("%ld inputs\n", runs);
    return 0;
}
