// Fuzz target for the save file reader: any file loads into a sound game, and what it loaded
// saves and loads again to the very same state.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "screens/save_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    // A copy of exactly `size` bytes, so that any read past the end is caught.
    const std::vector<uint8_t> file(bytes, bytes + size);
    DecodeSave(file.data(), file.size());
    const std::vector<uint8_t> saved = EncodeSave();
    if (saved.size() != SaveFileSize) std::abort();
    DecodeSave(saved.data(), saved.size());
    if (EncodeSave() != saved) std::abort();
    return 0;
}
