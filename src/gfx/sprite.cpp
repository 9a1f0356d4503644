// The Sprite: a picture in an off-screen surface with a clip rectangle and a transparent colour.
#include "gfx/sprite.h"

#include <initializer_list>

#include "gfx/colour.h"
#include "gfx/cover.h"
#include "gfx/display.h"
#include "gfx/kept_background.h"
#include "gfx/picture.h"
#include "shared/error_box.h"

namespace {

// True when every value fits a signed 32-bit coordinate.
bool FitInt32(std::initializer_list<int64_t> values) {
    for (int64_t value : values)
        if (value < INT32_MIN || value > INT32_MAX) return false;
    return true;
}

// The rows of a drawing of `width` x `height` pixels at (x, y) of `target` that lie under the
// back buffer's cover, at its top and its bottom: none for any other target.
CoveredEdges CoveredOf(const Sprite* target, int64_t x, int64_t y, int64_t width, int64_t height) {
    if (target != BackBuffer || !FitInt32({x, y, x + width, y + height})) return CoveredEdges{0, 0};
    return CoveredEdgesOf(Rect{static_cast<int32_t>(x), static_cast<int32_t>(y),
                               static_cast<int32_t>(x + width), static_cast<int32_t>(y + height)});
}

// The serial the next change of any Sprite takes.
uint32_t NextSerial = 1;

}  // namespace

Sprite::~Sprite() {
    Release();
    PictureGone(this);
}

void Sprite::Changed() { serial_ = NextSerial++; }

void Sprite::DrawnInto(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    if (this != BackBuffer) {
        Changed();
        return;
    }
    if (FitInt32({left, top, right, bottom}))
        NoteBackBufferDrawn(Rect{static_cast<int32_t>(left), static_cast<int32_t>(top),
                                 static_cast<int32_t>(right), static_cast<int32_t>(bottom)});
}

bool Sprite::CreateBlank(uint32_t width, uint32_t height, uint8_t placement, uint8_t keyFlag) {
    return CreateSurface(width, height, placement, keyFlag);
}

void Sprite::LoadFromFile(const std::string& name, uint8_t placement, uint8_t keyFlag) {
    PictureName = name;
    Picture picture;
    if (!ReadPicture(name, picture)) return;
    width_ = static_cast<uint32_t>(picture.Width);
    height_ = static_cast<uint32_t>(picture.Height);
    if (!CreateSurface(width_, height_, placement, keyFlag)) return;
    TransferPicture(picture, surface_);
}

bool Sprite::CreateSurface(uint32_t width, uint32_t height, uint8_t placement, uint8_t keyFlag) {
    Release();
    width_ = width;
    height_ = height;
    KeyFlag = keyFlag;
    const bool fits = width <= INT32_MAX && height <= INT32_MAX;
    const int w = fits ? static_cast<int>(width) : 0;
    const int h = fits ? static_cast<int>(height) : 0;
    if (placement == 0) {
        surface_ = platform::CreateOffscreenSurface(w, h);
        if (surface_ == nullptr) Trace("Error VIDEO\n");
    }
    if (surface_ == nullptr) surface_ = platform::CreateOffscreenSurface(w, h);
    if (surface_ == nullptr) {
        Trace("Error CreateSurface\n");
        ShowError(PictureName.empty() ? "CreateSurface" : PictureName);
        return false;
    }
    if (KeyFlag != 0) SetColourKey(255, 0, 255);
    return true;
}

void Sprite::Release() {
    platform::ReleaseSurface(surface_);
    surface_ = nullptr;
    Changed();
}

void Sprite::SetColourKey(uint32_t red, uint32_t green, uint32_t blue) {
    ColourKey = PackColour(red, green, blue);
    if (surface_ != nullptr) platform::SetSourceColourKey(surface_, ColourKey);
}

void Sprite::SetClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    ClipRect = Rect{left, top, right, bottom};
}

bool Sprite::Draw(Sprite* target, int32_t x, int32_t y, int32_t left, int32_t top, int32_t right,
                  int32_t bottom) {
    if (surface_ == nullptr || target == nullptr || target->surface_ == nullptr) return true;
    const int64_t height = int64_t{bottom} - top;
    target->DrawnInto(x, y, int64_t{x} + (int64_t{right} - left), int64_t{y} + height);
    // Rows that a later step of the frame draws over are left undrawn.
    const CoveredEdges covered = CoveredOf(target, x, y, int64_t{right} - left, height);
    if (covered.top > 0 && covered.top == height) return true;
    y += covered.top;
    top += covered.top;
    bottom -= covered.bottom;
    const platform::DrawOutcome outcome = platform::CopyRect(
        surface_, Rect{left, top, right, bottom}, target->surface_, x, y, KeyFlag != 0);
    if (outcome != platform::DrawOutcome::SurfaceLost) return true;
    Restore();
    return false;
}

bool Sprite::DrawClipped(Sprite* target, int32_t x, int32_t y, int32_t left, int32_t top,
                         int32_t right, int32_t bottom) {
    const int64_t cl = ClipRect.left;
    const int64_t ct = ClipRect.top;
    const int64_t cr = ClipRect.right;
    const int64_t cb = ClipRect.bottom;
    int64_t l = left, t = top, r = right, b = bottom, dx = x, dy = y;
    if (dx + (r - l) > cr) r = cr - dx + l;
    if (dx < cl) {
        l = cl - dx + l;
        dx = cl;
    }
    if (dy < ct) {
        t = ct - dy + t;
        dy = ct;
    }
    if (dy + (b - t) > cb) b = cb - dy + t;
    if (!FitInt32({l, t, r, b})) return true;
    return Draw(target, static_cast<int32_t>(dx), static_cast<int32_t>(dy), static_cast<int32_t>(l),
                static_cast<int32_t>(t), static_cast<int32_t>(r), static_cast<int32_t>(b));
}

bool Sprite::DrawScaled(Sprite* target, const Rect& destination, const Rect& source) {
    if (surface_ == nullptr || target == nullptr || target->surface_ == nullptr) return true;
    target->DrawnInto(destination.left, destination.top, destination.right, destination.bottom);
    // Rows that a later step of the frame draws over are left undrawn; the others sample the
    // picture as the whole drawing does.
    const int64_t height = int64_t{destination.bottom} - destination.top;
    const CoveredEdges covered = CoveredOf(target, destination.left, destination.top,
                                           int64_t{destination.right} - destination.left, height);
    if (covered.top > 0 && covered.top == height) return true;
    const platform::RowSpan rows{covered.top, static_cast<int>(height) - covered.bottom};
    const platform::DrawOutcome outcome =
        platform::CopyScaled(surface_, source, target->surface_, destination, KeyFlag != 0, rows);
    if (outcome != platform::DrawOutcome::SurfaceLost) return true;
    Restore();
    return false;
}

void Sprite::FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t red,
                      uint32_t green, uint32_t blue) {
    if (surface_ == nullptr) return;
    DrawnInto(left, top, right, bottom);
    const CoveredEdges covered =
        CoveredOf(this, left, top, int64_t{right} - left, int64_t{bottom} - top);
    if (covered.top > 0 && covered.top == bottom - top) return;
    top += covered.top;
    bottom -= covered.bottom;
    platform::FillArea(surface_, Rect{left, top, right, bottom}, PackColour(red, green, blue));
}

bool Sprite::Restore() {
    if (surface_ == nullptr || !platform::RestoreSurface(surface_)) return false;
    if (!PictureName.empty()) Reload();
    return true;
}

bool Sprite::Reload() {
    Changed();
    Picture picture;
    if (!ReadPicture(PictureName, picture)) return false;
    TransferPicture(picture, surface_);
    return true;
}

void Sprite::AdoptSurface(platform::Surface* surface, uint32_t width, uint32_t height) {
    Release();
    surface_ = surface;
    width_ = width;
    height_ = height;
}
