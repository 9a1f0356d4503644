// The one game window on SDL2: creation, windowed or full-screen style, the picture shown in it.
#include "platform/window.h"

#include <SDL.h>

namespace platform {

namespace {

const char* const WindowTitle = "Pelmaro v1.0";

SDL_Window* GameWindow = nullptr;
SDL_Renderer* Renderer = nullptr;
// The streaming texture the picture is uploaded into, and its pixel format code.
SDL_Texture* PictureTexture = nullptr;
uint32_t PictureTextureFormat = SDL_PIXELFORMAT_UNKNOWN;
// The window covers the monitor (desktop full-screen) rather than being a 640x480 window.
bool FullScreenStyle = false;
// DestroyGameWindow is running; a nested call does nothing.
bool Destroying = false;
void (*DestroyedHandler)() = nullptr;
// Bits per pixel tests pretend the desktop has; 0 when the real desktop counts.
int DesktopDepthOverride = 0;

// Creates the renderer, with vertical sync when the display offers it, scaling to 640x480.
SDL_Renderer* CreateRenderer(SDL_Window* window) {
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (renderer == nullptr) renderer = SDL_CreateRenderer(window, -1, 0);
    if (renderer == nullptr) return nullptr;
    SDL_RenderSetLogicalSize(renderer, PictureWidth, PictureHeight);
    return renderer;
}

// Drops the picture texture; the next picture creates a new one.
void DropPictureTexture() {
    if (PictureTexture != nullptr) SDL_DestroyTexture(PictureTexture);
    PictureTexture = nullptr;
    PictureTextureFormat = SDL_PIXELFORMAT_UNKNOWN;
}

// The texture for pictures of this format, created on first use or when the format changes.
SDL_Texture* PictureTextureFor(uint32_t pixelFormatCode) {
    if (PictureTexture != nullptr && PictureTextureFormat == pixelFormatCode) return PictureTexture;
    DropPictureTexture();
    PictureTexture = SDL_CreateTexture(Renderer, pixelFormatCode, SDL_TEXTUREACCESS_STREAMING,
                                       PictureWidth, PictureHeight);
    if (PictureTexture != nullptr) PictureTextureFormat = pixelFormatCode;
    return PictureTexture;
}

// True when the picture covers the whole output unscaled, leaving no bars to clear to black.
bool PictureFillsOutput() {
    int width = 0;
    int height = 0;
    if (SDL_GetRendererOutputSize(Renderer, &width, &height) != 0) return false;
    return width == PictureWidth && height == PictureHeight;
}

// The desktop's display mode; a zeroed mode when there is none.
SDL_DisplayMode DesktopMode() {
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) mode = SDL_DisplayMode{};
    return mode;
}

}  // namespace

bool CreateGameWindow() {
    if (GameWindow != nullptr) return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    GameWindow = SDL_CreateWindow(WindowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                  PictureWidth, PictureHeight, SDL_WINDOW_SHOWN);
    if (GameWindow == nullptr) return false;
    Renderer = CreateRenderer(GameWindow);
    if (Renderer == nullptr) {
        SDL_DestroyWindow(GameWindow);
        GameWindow = nullptr;
        return false;
    }
    FullScreenStyle = false;
    return true;
}

void DestroyGameWindow() {
    if (GameWindow == nullptr || Destroying) return;
    Destroying = true;
    if (DestroyedHandler != nullptr) DestroyedHandler();
    DropPictureTexture();
    SDL_DestroyRenderer(Renderer);
    SDL_DestroyWindow(GameWindow);
    Renderer = nullptr;
    GameWindow = nullptr;
    Destroying = false;
}

void SetWindowDestroyedHandler(void (*handler)()) { DestroyedHandler = handler; }

bool GameWindowExists() { return GameWindow != nullptr; }

uint32_t GameWindowId() { return GameWindow != nullptr ? SDL_GetWindowID(GameWindow) : 0; }

void RestyleGameWindow(bool fullScreen) {
    if (GameWindow == nullptr) return;
    FullScreenStyle = fullScreen;
    if (fullScreen) {
        SDL_SetWindowFullscreen(GameWindow, SDL_WINDOW_FULLSCREEN_DESKTOP);
        return;
    }
    SDL_SetWindowFullscreen(GameWindow, 0);
    SDL_SetWindowSize(GameWindow, PictureWidth, PictureHeight);
    SDL_SetWindowPosition(GameWindow, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

Rect ClientAreaOnScreen() {
    int x = 0;
    int y = 0;
    if (GameWindow != nullptr && !FullScreenStyle) SDL_GetWindowPosition(GameWindow, &x, &y);
    return Rect{x, y, x + PictureWidth, y + PictureHeight};
}

int DesktopBitsPerPixel() {
    if (DesktopDepthOverride != 0) return DesktopDepthOverride;
    const uint32_t format = DesktopMode().format;
    if (SDL_BYTESPERPIXEL(format) > 1) return SDL_BYTESPERPIXEL(format) * 8;
    return SDL_BITSPERPIXEL(format);
}

int DesktopPixelWidth() { return DesktopMode().w; }

uint32_t DesktopPixelFormatCode() {
    if (DesktopDepthOverride == 16) return SDL_PIXELFORMAT_RGB565;
    if (DesktopDepthOverride == 32) return SDL_PIXELFORMAT_RGB888;
    const uint32_t format = DesktopMode().format;
    const bool packedRgb = SDL_PIXELTYPE(format) == SDL_PIXELTYPE_PACKED16 ||
                           SDL_PIXELTYPE(format) == SDL_PIXELTYPE_PACKED32 ||
                           SDL_PIXELTYPE(format) == SDL_PIXELTYPE_ARRAYU8;
    if (!packedRgb || SDL_ISPIXELFORMAT_ALPHA(format) || SDL_BITSPERPIXEL(format) < 15)
        return SDL_PIXELFORMAT_RGB888;
    return format;
}

bool ShowWindowPicture(const void* pixels, int pitch, uint32_t pixelFormatCode) {
    if (Renderer == nullptr) return false;
    SDL_Texture* texture = PictureTextureFor(pixelFormatCode);
    if (texture == nullptr || SDL_UpdateTexture(texture, nullptr, pixels, pitch) != 0) {
        DropPictureTexture();
        return false;
    }
    if (!PictureFillsOutput()) {
        SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
        SDL_RenderClear(Renderer);
    }
    SDL_RenderCopy(Renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(Renderer);
    return true;
}

void OverrideDesktopDepthForTests(int bitsPerPixel) { DesktopDepthOverride = bitsPerPixel; }

}  // namespace platform
