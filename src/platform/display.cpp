// Display surfaces on SDL2: frame buffers, off-screen surfaces, checked blits, fills, lost state.
#include "platform/display.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/pixel_copies.h"

namespace platform {

struct Surface {
    SDL_Surface* pixels = nullptr;
    // The pixels are gone (as when another program took the screen) until RestoreSurface.
    bool lost = false;
    // A source colour key was set (SDL then applies it to every keyed blit), and its packed value.
    bool hasKey = false;
    uint32_t key = 0;
    // Once keyed: where its pixels that are not the key lie, for keyed copies from it.
    KeySpans spans;
    // The back buffer that came with a full-screen primary surface, or null.
    Surface* attached = nullptr;
};

namespace {

// Surfaces larger than this on either side are refused; the game's largest is 1199 pixels high.
constexpr int MaxSurfaceSide = 16384;

bool DeviceOpen = false;
// 1 while the display is set up full-screen: the primary surface then has a back buffer attached.
bool FullScreenMode = false;
// The SDL pixel format code every surface is created in.
uint32_t SurfaceFormatCode = SDL_PIXELFORMAT_RGB888;
// Every surface alive, in creation order.
std::vector<Surface*> LiveSurfaces;
// The primary surface shown by the last present, or null.
const Surface* LastPresented = nullptr;
// Where the last present left the picture: the window's own pixels or the primary surface's.
struct ShownPixels {
    const uint8_t* corner = nullptr;
    int pitch = 0;
    uint32_t format = SDL_PIXELFORMAT_UNKNOWN;
};
ShownPixels LastShown;
// Pixels of a scaled copy, or of a copy within one surface, pass through here; grown on demand,
// in the format of the surface copied from.
SDL_Surface* Scratch = nullptr;

Surface* NewSurface(int width, int height) {
    if (!DeviceOpen || width <= 0 || height <= 0 || width > MaxSurfaceSide ||
        height > MaxSurfaceSide)
        return nullptr;
    // Zeroed pages of our own rather than SDL's, which it clears by writing: a large surface
    // costs memory only where it is drawn, so a primary surface the window never shows from (at
    // 1:1 the picture goes straight into the window) costs none.
    const int pitch = (width * SDL_BYTESPERPIXEL(SurfaceFormatCode) + 3) / 4 * 4;
    void* memory = std::calloc(static_cast<size_t>(pitch) * static_cast<size_t>(height), 1);
    if (memory == nullptr) return nullptr;
    SDL_Surface* pixels = SDL_CreateRGBSurfaceWithFormatFrom(
        memory, width, height, SDL_BITSPERPIXEL(SurfaceFormatCode), pitch, SurfaceFormatCode);
    if (pixels == nullptr) {
        std::free(memory);
        return nullptr;
    }
    Surface* surface = new Surface;
    surface->pixels = pixels;
    LiveSurfaces.push_back(surface);
    return surface;
}

// True when the rectangle is not empty, not inverted and lies wholly inside the surface.
bool InsideSurface(const Rect& rect, const SDL_Surface* surface) {
    return rect.left < rect.right && rect.top < rect.bottom && rect.left >= 0 && rect.top >= 0 &&
           rect.right <= surface->w && rect.bottom <= surface->h;
}

// The rectangle of `from`'s size placed at (x, y), computed without overflow; empty on overflow.
Rect PlacedAt(const Rect& from, int x, int y) {
    const int64_t right = int64_t{x} + (int64_t{from.right} - from.left);
    const int64_t bottom = int64_t{y} + (int64_t{from.bottom} - from.top);
    if (right > INT32_MAX || bottom > INT32_MAX || right < INT32_MIN || bottom < INT32_MIN)
        return Rect{0, 0, 0, 0};
    return Rect{x, y, static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
}

SDL_Rect ToSdl(const Rect& rect) {
    return SDL_Rect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

bool EitherLost(const Surface* a, const Surface* b) { return a->lost || b->lost; }

// True when a copy from `source` skips its key colour: a keyed copy from a surface with a key.
bool SkipsKey(const Surface* source, bool keyed) { return keyed && source->hasKey; }

// First byte of pixel (x, y) of a surface.
uint8_t* PixelAt(const SDL_Surface* surface, int x, int y) {
    return static_cast<uint8_t*>(surface->pixels) + y * surface->pitch +
           x * surface->format->BytesPerPixel;
}

// Where the picture is kept: the picture shown, compared with the next one, and where the next
// one is written, with the rows in which that still lags behind the one shown. The window's own
// pixels when the picture goes straight into them in its own format (the window may show one
// picture while the next is written into another), else the primary surface, which the window is
// then shown from.
struct KeptPixels {
    ShownPixels shown;
    uint8_t* into;
    RowSpan behind;
};

KeptPixels KeptPicture(const Surface* primary, const WindowPixels* window) {
    const SDL_Surface* pixels = primary->pixels;
    if (window != nullptr && window->formatCode == pixels->format->format)
        return KeptPixels{ShownPixels{window->shown, window->pitch, window->formatCode},
                          window->corner, window->behind};
    uint8_t* corner = static_cast<uint8_t*>(pixels->pixels);
    return KeptPixels{ShownPixels{corner, pixels->pitch, pixels->format->format}, corner,
                      RowSpan{0, 0}};
}

// 640x480 pixels of the given format from `corner` on, as 0x00RRGGBB, top row first.
std::vector<uint32_t> PictureAsRgb(const uint8_t* corner, int pitch, uint32_t format) {
    std::vector<uint32_t> picture(static_cast<size_t>(PictureWidth) * PictureHeight);
    SDL_ConvertPixels(PictureWidth, PictureHeight, format, corner, pitch, SDL_PIXELFORMAT_RGB888,
                      picture.data(), PictureWidth * 4);
    for (uint32_t& pixel : picture) pixel &= 0x00FFFFFFu;
    return picture;
}

// True when the row lies in the span.
bool InSpan(int row, RowSpan span) { return row >= span.top && row < span.bottom; }

// One pass over the picture: each row of `area` of the back buffer among the rows `redrawn` that
// differs from the picture shown (every row when `whole`) is written into the kept picture, as is
// each row in which that lags behind; the other rows are left. The rows from the first to the
// last that changed; empty when none did.
RowSpan CopyChangedRows(const SDL_Surface* drawn, const Rect& area, const KeptPixels& kept,
                        RowSpan redrawn, bool whole) {
    const size_t rowBytes =
        static_cast<size_t>(area.right - area.left) * drawn->format->BytesPerPixel;
    RowSpan band{area.bottom - area.top, 0};
    for (int row = 0; row < area.bottom - area.top; ++row) {
        const uint8_t* from = PixelAt(drawn, area.left, area.top + row);
        const int offset = row * kept.shown.pitch;
        const bool changed =
            whole || (InSpan(area.top + row, redrawn) &&
                      std::memcmp(kept.shown.corner + offset, from, rowBytes) != 0);
        if (changed || InSpan(row, kept.behind))
            std::memcpy(kept.into + offset, from, rowBytes);
        if (!changed) continue;
        band.top = std::min(band.top, row);
        band.bottom = row + 1;
    }
    return band;
}

// After pixels of a keyed surface were written: its runs are found afresh at its next keyed copy.
void PixelsWritten(Surface* surface) {
    if (surface->hasKey) surface->spans.Forget();
}

// True when pixels can go from `source` to `target` as they are, without conversion.
bool SameFormat(const SDL_Surface* source, const SDL_Surface* target) {
    return source->format->format == target->format->format;
}

// Copies `from` to the same-sized `to` through SDL_ConvertPixels, whose plain row copies (unlike
// SDL's own copy blit, which writes past the cache) leave the target cached for the copies drawn
// over it next.
void CopyPlain(const SDL_Surface* source, SDL_Rect from, SDL_Surface* target, SDL_Rect to) {
    SDL_ConvertPixels(from.w, from.h, source->format->format, PixelAt(source, from.x, from.y),
                      source->pitch, target->format->format, PixelAt(target, to.x, to.y),
                      target->pitch);
}

// Copies `from` of `source` to the same-sized `to`. Keyed copies between surfaces of one format
// copy the source's runs of pixels that are not the key; between formats they go through SDL's
// colour-key blit.
void CopyPixels(Surface* source, SDL_Rect from, SDL_Surface* target, SDL_Rect to, bool keyed) {
    if (!keyed)
        CopyPlain(source->pixels, from, target, to);
    else if (SameFormat(source->pixels, target))
        source->spans.Copy(source->pixels, source->key, from, target, to.x, to.y);
    else
        SDL_BlitSurface(source->pixels, &from, target, &to);
}

// The scratch surface, at least width x height in the format of `like`, carrying the key of
// `like` when there is one; null when it cannot be made.
SDL_Surface* ScratchFor(const Surface* like, int width, int height) {
    const uint32_t format = like->pixels->format->format;
    if (Scratch == nullptr || Scratch->format->format != format || Scratch->w < width ||
        Scratch->h < height) {
        if (Scratch != nullptr && Scratch->format->format == format) {
            width = std::max(width, Scratch->w);
            height = std::max(height, Scratch->h);
        }
        SDL_FreeSurface(Scratch);
        Scratch = SDL_CreateRGBSurfaceWithFormat(0, width, height, 0, format);
        if (Scratch == nullptr) return nullptr;
    }
    SDL_SetColorKey(Scratch, like->hasKey ? SDL_TRUE : SDL_FALSE, like->key);
    return Scratch;
}

// Copies `from` of `source` into `to` of `target` by way of the scratch surface: stretched into it
// (an exact copy when the sizes match), then its `rows` copied out keyed or plain.
void CopyThroughScratch(Surface* source, SDL_Rect from, Surface* target, SDL_Rect to, bool keyed,
                        RowSpan rows) {
    SDL_Surface* scratch = ScratchFor(source, to.w, to.h);
    if (scratch == nullptr) return;
    SDL_Rect inScratch{0, 0, to.w, to.h};
    SDL_SoftStretch(source->pixels, &from, scratch, &inScratch);
    const SDL_Rect out{0, rows.top, to.w, rows.bottom - rows.top};
    SDL_Rect into{to.x, to.y + rows.top, to.w, out.h};
    if (!SkipsKey(source, keyed))
        CopyPlain(scratch, out, target->pixels, into);
    else
        SDL_BlitSurface(scratch, &out, target->pixels, &into);
}

// The rows asked for of a drawing `height` rows high, all of them for EveryRow; {0, 0} (nothing)
// when they do not lie within it.
RowSpan RowsWithin(RowSpan rows, int height) {
    if (rows.bottom == EveryRow.bottom) return RowSpan{0, height};
    if (rows.top < 0 || rows.top >= rows.bottom || rows.bottom > height) return RowSpan{0, 0};
    return rows;
}

}  // namespace

bool OpenDisplayDevice() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    DeviceOpen = true;
    return true;
}

void CloseDisplayDevice() {
    if (!DeviceOpen) return;
    DeviceOpen = false;
    SDL_FreeSurface(Scratch);
    Scratch = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SetDisplayMode(bool fullScreen) {
    if (!DeviceOpen) return false;
    FullScreenMode = fullScreen;
    SurfaceFormatCode = fullScreen ? uint32_t{SDL_PIXELFORMAT_RGB565} : DesktopPixelFormatCode();
    return true;
}

Surface* CreatePrimarySurface() {
    Surface* primary = NewSurface(PictureWidth, PictureHeight);
    if (primary == nullptr || !FullScreenMode) return primary;
    primary->attached = NewSurface(PictureWidth, PictureHeight);
    if (primary->attached != nullptr) return primary;
    ReleaseSurface(primary);
    return nullptr;
}

Surface* AttachedBackBuffer(Surface* primary) {
    return primary != nullptr ? primary->attached : nullptr;
}

Surface* CreateOffscreenSurface(int width, int height) { return NewSurface(width, height); }

void ReleaseSurface(Surface* surface) {
    if (surface == nullptr) return;
    LiveSurfaces.erase(std::remove(LiveSurfaces.begin(), LiveSurfaces.end(), surface),
                       LiveSurfaces.end());
    for (Surface* other : LiveSurfaces)
        if (other->attached == surface) other->attached = nullptr;
    if (LastPresented == surface) {
        LastPresented = nullptr;
        LastShown = ShownPixels{};
    }
    void* memory = surface->pixels->pixels;
    SDL_FreeSurface(surface->pixels);
    std::free(memory);
    delete surface;
}

PixelFormat SurfaceFormat(const Surface* surface) {
    const SDL_PixelFormat* format = surface->pixels->format;
    return PixelFormat{format->BytesPerPixel * 8, format->Rmask, format->Gmask, format->Bmask};
}

void SetSourceColourKey(Surface* surface, uint32_t key) {
    surface->hasKey = true;
    surface->key = key;
    SDL_SetColorKey(surface->pixels, SDL_TRUE, key);
    surface->spans.Forget();
}

DrawOutcome CopyRect(Surface* source, const Rect& from, Surface* target, int x, int y, bool keyed) {
    if (EitherLost(source, target)) return DrawOutcome::SurfaceLost;
    const Rect to = PlacedAt(from, x, y);
    if (!InsideSurface(from, source->pixels) || !InsideSurface(to, target->pixels))
        return DrawOutcome::Refused;
    // Within one surface the rectangles may overlap, so the pixels go by way of the scratch.
    if (source == target)
        CopyThroughScratch(source, ToSdl(from), target, ToSdl(to), keyed,
                           RowSpan{0, to.bottom - to.top});
    else
        CopyPixels(source, ToSdl(from), target->pixels, ToSdl(to), SkipsKey(source, keyed));
    PixelsWritten(target);
    return DrawOutcome::Done;
}

DrawOutcome CopyScaled(Surface* source, const Rect& from, Surface* target, const Rect& to,
                       bool keyed, RowSpan rows) {
    if (EitherLost(source, target)) return DrawOutcome::SurfaceLost;
    rows = RowsWithin(rows, to.bottom - to.top);
    if (!InsideSurface(from, source->pixels) || !InsideSurface(to, target->pixels) ||
        rows.top >= rows.bottom)
        return DrawOutcome::Refused;
    // Keyed between two surfaces of one format: stretched and keyed in one pass. Otherwise by way
    // of the scratch surface: stretching first and keying after is pixel for pixel what SDL's
    // keyed scaling blit draws, without its slow general path.
    if (SkipsKey(source, keyed) && source != target && SameFormat(source->pixels, target->pixels))
        source->spans.Stretch(source->pixels, source->key, ToSdl(from), target->pixels, ToSdl(to),
                              rows.top, rows.bottom);
    else
        CopyThroughScratch(source, ToSdl(from), target, ToSdl(to), keyed, rows);
    PixelsWritten(target);
    return DrawOutcome::Done;
}

DrawOutcome FillArea(Surface* surface, const Rect& area, uint32_t pixel) {
    if (surface->lost) return DrawOutcome::SurfaceLost;
    if (!InsideSurface(area, surface->pixels)) return DrawOutcome::Refused;
    const SDL_Rect sdlArea = ToSdl(area);
    SDL_FillRect(surface->pixels, &sdlArea, pixel);
    PixelsWritten(surface);
    return DrawOutcome::Done;
}

bool IsSurfaceLost(const Surface* surface) { return surface->lost; }

bool RestoreSurface(Surface* surface) {
    if (!DeviceOpen) return false;
    for (Surface* part : {surface, surface->attached}) {
        if (part == nullptr || !part->lost) continue;
        SDL_FillRect(part->pixels, nullptr, 0);
        PixelsWritten(part);
        part->lost = false;
    }
    return true;
}

bool LockSurface(Surface* surface, SurfacePixels& out) {
    if (surface->lost || SDL_LockSurface(surface->pixels) != 0) return false;
    SDL_Surface* pixels = surface->pixels;
    out = SurfacePixels{
        static_cast<uint8_t*>(pixels->pixels), pixels->pitch,         pixels->w, pixels->h,
        pixels->format->BytesPerPixel,         SurfaceFormat(surface)};
    return true;
}

void UnlockSurface(Surface* surface) {
    SDL_UnlockSurface(surface->pixels);
    PixelsWritten(surface);
}

DrawOutcome PresentFrame(Surface* primary, Surface* backBuffer, const Rect& area,
                         RowSpan drawn) {
    if (EitherLost(primary, backBuffer)) return DrawOutcome::SurfaceLost;
    if (!InsideSurface(area, backBuffer->pixels) || area.right - area.left != primary->pixels->w ||
        area.bottom - area.top != primary->pixels->h ||
        !SameFormat(primary->pixels, backBuffer->pixels))
        return DrawOutcome::Refused;
    // At 1:1 without a renderer the picture goes straight into the window's own pixels.
    WindowPixels window{};
    const bool intoWindow = WindowPixelsAtPicture(window);
    const KeptPixels kept = KeptPicture(primary, intoWindow ? &window : nullptr);
    const bool whole = WindowNeedsPicture() || LastPresented != primary ||
                       LastShown.corner != kept.shown.corner || LastShown.pitch != kept.shown.pitch;
    const RowSpan band = CopyChangedRows(backBuffer->pixels, area, kept,
                                         RowsWithin(drawn, backBuffer->pixels->h), whole);
    LastPresented = primary;
    // The window keeps what it shows: a picture that did not change is not sent again.
    if (band.top >= band.bottom) {
        LastShown = kept.shown;
        return DrawOutcome::Done;
    }
    LastShown = ShownPixels{kept.into, kept.shown.pitch, kept.shown.format};
    if (!intoWindow) {
        ShowChangedWindowPicture(kept.into, LastShown.pitch, LastShown.format, band.top,
                                 band.bottom);
        return DrawOutcome::Done;
    }
    // Only the rows that changed go to the display, converted in one call when the window's
    // pixels are in another format (SDL sets a conversion up anew for every call).
    if (kept.into != window.corner)
        SDL_ConvertPixels(area.right - area.left, band.bottom - band.top, LastShown.format,
                          kept.into + band.top * LastShown.pitch, LastShown.pitch,
                          window.formatCode, window.corner + band.top * window.pitch,
                          window.pitch);
    ShowWindowRows(band.top, band.bottom);
    return DrawOutcome::Done;
}

void SetWindowIconFrom(const Surface* picture, const Rect& from) {
    if (picture == nullptr || !InsideSurface(from, picture->pixels)) return;
    SDL_Surface* pixels = picture->pixels;
    SetGameWindowIcon(PixelAt(pixels, from.left, from.top), from.right - from.left,
                      from.bottom - from.top, pixels->pitch, pixels->format->format,
                      picture->hasKey, picture->key);
}

void MarkSurfaceLost(Surface* surface) { surface->lost = true; }

void MarkAllSurfacesLost() {
    for (Surface* surface : LiveSurfaces) surface->lost = true;
}

int LiveSurfaceCount() { return static_cast<int>(LiveSurfaces.size()); }

uint32_t ReadSurfacePixel(const Surface* surface, int x, int y) {
    const SDL_Surface* pixels = surface->pixels;
    if (surface->lost || x < 0 || y < 0 || x >= pixels->w || y >= pixels->h) return 0;
    const int bytes = pixels->format->BytesPerPixel;
    const uint8_t* at = static_cast<const uint8_t*>(pixels->pixels) + y * pixels->pitch + x * bytes;
    uint32_t value = 0;
    std::memcpy(&value, at, static_cast<size_t>(bytes));
    return value;
}

std::vector<uint32_t> ReadPresentedPicture() {
    if (LastPresented == nullptr) return {};
    return PictureAsRgb(LastShown.corner, LastShown.pitch, LastShown.format);
}

std::vector<uint32_t> ReadSurfacePicture(const Surface* surface) {
    const SDL_Surface* pixels = surface->pixels;
    if (surface->lost || pixels->w < PictureWidth || pixels->h < PictureHeight) return {};
    return PictureAsRgb(static_cast<const uint8_t*>(pixels->pixels), pixels->pitch,
                        pixels->format->format);
}

void BenchDirectCopy(Surface* source, const Rect& from, Surface* target, int x, int y) {
    SDL_Rect sdlFrom = ToSdl(from);
    SDL_Rect sdlTo = ToSdl(PlacedAt(from, x, y));
    SDL_BlitSurface(source->pixels, &sdlFrom, target->pixels, &sdlTo);
}

void BenchDirectScaled(Surface* source, const Rect& from, Surface* target, const Rect& to) {
    SDL_Rect sdlFrom = ToSdl(from);
    SDL_Rect sdlTo = ToSdl(to);
    SDL_BlitScaled(source->pixels, &sdlFrom, target->pixels, &sdlTo);
}

}  // namespace platform
