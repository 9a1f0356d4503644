// The display device and the two frame buffers every frame is drawn into and shown from.
#include "gfx/display.h"

#include "gfx/colour.h"
#include "gfx/kept_background.h"
#include "gfx/sprite.h"
#include "platform/display.h"
#include "shared/error_box.h"

Sprite* PrimarySurface = nullptr;
Sprite* BackBuffer = nullptr;
unsigned char FullScreen = 0;
platform::Rect ScreenRect = {0, 0, 0, 0};
platform::Rect ClientRect = {0, 0, 0, 0};

namespace {

bool DeviceExists = false;

// The frame buffers keep their Sprite objects; only their surfaces go.
void ReleaseFrameBufferSurfaces() {
    if (BackBuffer != nullptr) BackBuffer->Release();
    if (PrimarySurface != nullptr) PrimarySurface->Release();
}

// Full-screen: the primary comes with its back buffer attached; the picture fills the monitor.
bool SetUpFullScreen(platform::Surface* primary) {
    platform::Surface* back = platform::AttachedBackBuffer(primary);
    if (back == nullptr) {
        Trace("Error GetAttachedSurface\n");
        return false;
    }
    BackBuffer->AdoptSurface(back, platform::PictureWidth, platform::PictureHeight);
    ScreenRect = platform::Rect{0, 0, platform::PictureWidth, platform::PictureHeight};
    return true;
}

// Windowed: the back buffer is an ordinary off-screen surface; the present copies the client area.
bool SetUpWindowed() {
    ClientRect = platform::Rect{0, 0, platform::PictureWidth, platform::PictureHeight};
    ScreenRect = platform::ClientAreaOnScreen();
    return BackBuffer->CreateSurface(platform::PictureWidth, platform::PictureHeight, 0, 0);
}

}  // namespace

bool CreateDevice() {
    if (!platform::OpenDisplayDevice()) {
        Trace("Error DirectDrawCreate\n");
        return false;
    }
    DeviceExists = true;
    if (PrimarySurface == nullptr) PrimarySurface = new Sprite;
    if (BackBuffer == nullptr) BackBuffer = new Sprite;
    return true;
}

bool SetUpDisplay(bool fullScreen) {
    FullScreen = fullScreen ? 1 : 0;
    if (!DeviceExists) return false;
    ReleaseFrameBufferSurfaces();
    if (!platform::SetDisplayMode(fullScreen)) {
        Trace("Error SetDisplayMode\n");
        return false;
    }
    platform::Surface* primary = platform::CreatePrimarySurface();
    if (primary == nullptr) {
        Trace("Error CreateSurface g_lpWUXSPrimary\n");
        return false;
    }
    PrimarySurface->AdoptSurface(primary, platform::PictureWidth, platform::PictureHeight);
    if (!(fullScreen ? SetUpFullScreen(primary) : SetUpWindowed())) return false;
    const platform::PixelFormat format = platform::SurfaceFormat(primary);
    AnalysePixelFormat(format.bitCount, format.redMask, format.greenMask, format.blueMask);
    return true;
}

void Present() {
    if (PrimarySurface == nullptr || BackBuffer == nullptr) return;
    platform::Surface* primary = PrimarySurface->Surface();
    platform::Surface* back = BackBuffer->Surface();
    if (primary == nullptr || back == nullptr) return;
    const platform::Rect area =
        FullScreen ? platform::Rect{0, 0, platform::PictureWidth, platform::PictureHeight}
                   : ClientRect;
    const platform::DrawOutcome shown =
        platform::PresentFrame(primary, back, area, RowsDrawnSinceShown());
    if (shown == platform::DrawOutcome::Done) BackBufferShown();
    if (shown != platform::DrawOutcome::SurfaceLost) return;
    platform::RestoreSurface(primary);
    if (!FullScreen) platform::RestoreSurface(back);
    ForgetKeptBackground();
}

void PresentBlack() {
    if (BackBuffer == nullptr || BackBuffer->Surface() == nullptr) return;
    BackBuffer->FillRect(0, 0, platform::PictureWidth, platform::PictureHeight, 0, 0, 0);
    Present();
}

void ReleaseDisplay() {
    for (Sprite** frameBuffer : {&BackBuffer, &PrimarySurface}) {
        if (*frameBuffer == nullptr) continue;
        (*frameBuffer)->Release();
        delete *frameBuffer;
        *frameBuffer = nullptr;
    }
    if (DeviceExists) platform::CloseDisplayDevice();
    DeviceExists = false;
}
