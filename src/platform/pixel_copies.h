// Keyed copies between surfaces of one format, without SDL's colour-key blits: by each row's runs
// of pixels that are not the key, plain or stretched.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

struct SDL_Rect;
struct SDL_Surface;

namespace platform {

// Where the pixels of a keyed surface that are not its key colour lie: for every row, the runs
// from one key pixel to the next. A keyed copy then copies those runs whole, row by row, however
// deep into a sheet of pictures its rectangle lies. (SDL's run-length coding reads every row above
// the rectangle and every run across the sheet for each copy: most of a busy frame went there.)
class KeySpans {
  public:
    // The pixels were written: the runs are found again at the next copy.
    void Forget();

    // Copies `from` of `source` to (x, y) of `target`, whose format is the source's, leaving the
    // target's pixels where the source's equal `key`. Both rectangles lie inside their surfaces.
    void Copy(const SDL_Surface* source, uint32_t key, const SDL_Rect& from, SDL_Surface* target,
              int x, int y);

    // Stretches `from` of `source` into `to` of `target`, whose format is the source's, sampling
    // the nearest source pixel as SDL_SoftStretch does, and leaving the target's pixels where the
    // sampled one equals `key`: only the target columns whose samples fall in a run are written,
    // so no pixel is compared with the key. Only rows top..bottom-1 of `to` are written. Both
    // rectangles lie inside their surfaces.
    void Stretch(const SDL_Surface* source, uint32_t key, const SDL_Rect& from, SDL_Surface* target,
                 const SDL_Rect& to, int top, int bottom);

  private:
    // A run of pixels that are not the key, from `begin` up to `end`.
    struct Run {
        uint16_t begin;
        uint16_t end;
    };

    // Finds every row's runs in the pixels as they are now.
    void Find(const SDL_Surface* source, uint32_t key);

    // For copies whose rectangle starts at column `left`: each row's first run that ends right of
    // it, as an index into `runs_`; found once for each left edge copied from.
    const uint32_t* FirstRunsFrom(const SDL_Surface* source, uint32_t key, int left);

    // Where each row's runs start in `runs_`, one entry per row and one more; empty until found.
    std::vector<uint32_t> rowStart_;
    std::vector<Run> runs_;
    // FirstRunsFrom's answers by left edge. A sheet's rows hold a few runs a picture; a picture
    // deep in the sheet would pass every run left of it in every row of every copy.
    std::unordered_map<int, std::vector<uint32_t>> firstRuns_;
};

}  // namespace platform
