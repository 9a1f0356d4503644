// The one game window on SDL2: creation, windowed or full-screen style, the picture shown in it.
#include "platform/window.h"

#include <SDL.h>
#include <SDL_syswm.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xatom.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <vector>

#include "platform/paths.h"
#include "platform/shared_picture.h"
#include "platform/smooth_stretch.h"

namespace platform {

namespace {

// "Pelmaro v1.0" for version 1.0.
const char* const WindowTitle = "Pelmaro v" PELMARO_VERSION;

SDL_Window* GameWindow = nullptr;
// The accelerated renderer, made only where the display has graphics hardware; without it the
// picture goes straight into the window's own pixels.
SDL_Renderer* Renderer = nullptr;
// The renderer's presents wait for the display's vertical sync.
bool RendererSynced = false;
// The window's pixels were spoilt (uncovered, resized, restyled) since the last picture shown.
bool PictureSpoilt = true;
// The last picture shown waited for the display's vertical sync.
bool LastShownSynced = false;
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
// The desktop size tests pretend; 0 x 0 when the real desktop counts.
int DesktopWidthOverride = 0;
int DesktopHeightOverride = 0;
// What failed in the last StartVideo or CreateGameWindow, with SDL's reason.
std::string Failure;
// The desktop size KeepGameWindowOnDesktop saw last; a change makes it check the window's place.
int SeenDesktopWidth = 0;
int SeenDesktopHeight = 0;
// The window has been given an icon.
bool HasIcon = false;
// The last picture was shown with crisp (nearest pixel) scaling.
bool LastCrisp = true;
// The picture converted into the format it is stretched in, kept from one picture to the next.
SDL_Surface* ConvertedPicture = nullptr;
// The smooth stretch of the picture into the window, its stepping kept from one picture to the
// next.
SmoothStretch PictureStretch;
// A stretch into a window whose pixels are not XRGB is drawn this many rows at a time into this
// band, which is then converted into the window.
constexpr int StretchBandRows = 32;
std::vector<uint8_t> StretchBand;
// Where in the window's own pixels the last picture was drawn by DrawPictureInWindow, and their
// format then; empty once a picture went into them another way.
SDL_Rect ShownAt{0, 0, 0, 0};
uint32_t ShownFormat = SDL_PIXELFORMAT_UNKNOWN;
// Whether the picture last written 1:1 went into the shared picture of an X11 window, where it
// lies in the window, and the window's size.
struct SharedShowing {
    bool used = false;
    SDL_Rect to{};
    int width = 0;
    int height = 0;
};
SharedShowing Shared;
// Where the last picture stretched into the window's shared picture lies in the window; empty
// once a picture went into the window another way.
SDL_Rect StretchedAt{0, 0, 0, 0};

// Where the window was before it went full-screen: its client area's place and size, and whether
// it was maximised; `known` is false when the window manager made it full-screen before the game.
struct WindowPlace {
    bool known = false;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool maximised = false;
};
WindowPlace PlaceBeforeFullScreen;
// The window manager shows the window full-screen, as its state last said (X11 only).
bool ManagerFullScreen = false;
// The window manager changed its full-screen state since WindowManagerChangedFullScreen last asked.
bool ManagerChanged = false;

// How long a desktop that refuses the game's first connection is asked again, and the pause
// between two tries. An X server resets itself when its last client leaves, and drops a
// connection that arrives meanwhile; the next one is taken.
constexpr std::chrono::milliseconds DesktopPatience{3000};
constexpr uint32_t DesktopRetryPauseMs = 20;

// Notes what failed, with SDL's reason.
void NoteFailure(const char* what) { Failure = std::string(what) + ": " + SDL_GetError(); }

// The video drivers of the desktop the game was started on, in SDL's own order of preference
// ("x11", "wayland" or "x11,wayland"); empty without a desktop.
std::string DesktopDrivers() {
    std::string drivers;
    if (!EnvironmentValue("DISPLAY").empty()) drivers = "x11";
    if (!EnvironmentValue("WAYLAND_DISPLAY").empty())
        drivers += drivers.empty() ? "wayland" : ",wayland";
    return drivers;
}

// True when the display draws with graphics hardware: on X11 the server offers direct rendering
// (a virtual or remote display does not, and OpenGL there is a slow emulation in software); the
// headless drivers never do; other desktops are trusted to.
bool DisplayHasHardware() {
    if (HeadlessVideo()) return false;
#if defined(SDL_VIDEO_DRIVER_X11)
    const char* driver = SDL_GetCurrentVideoDriver();
    if (SDL_strcmp(driver, "x11") != 0) return true;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    int opcode = 0;
    int event = 0;
    int error = 0;
    const bool direct = XQueryExtension(display, "DRI3", &opcode, &event, &error) != 0 ||
                        XQueryExtension(display, "DRI2", &opcode, &event, &error) != 0;
    XCloseDisplay(display);
    return direct;
#else
    return true;
#endif
}

// Creates the accelerated renderer, with vertical sync when the display offers it.
SDL_Renderer* CreateRenderer(SDL_Window* window) {
    SDL_Renderer* renderer =
        SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (renderer == nullptr) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    SDL_RendererInfo info{};
    RendererSynced = renderer != nullptr && SDL_GetRendererInfo(renderer, &info) == 0 &&
                     (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    return renderer;
}

#if defined(SDL_VIDEO_DRIVER_X11)
// The game window's connection to its X server and its X window; false when there is no window or
// it is on another desktop.
bool GameWindowOnX11(Display*& display, Window& window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (GameWindow == nullptr || SDL_GetWindowWMInfo(GameWindow, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_X11)
        return false;
    display = info.info.x11.display;
    window = info.info.x11.window;
    return true;
}

// True when the window manager's state of the X window (_NET_WM_STATE) lists full-screen.
bool StateListsFullScreen(Display* display, Window window) {
    const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long left = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_STATE", False), 0, 64,
                           False, XA_ATOM, &type, &format, &count, &left, &data) != Success)
        return false;
    bool listed = false;
    const Atom* states = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; data != nullptr && format == 32 && i < count; ++i)
        listed = listed || states[i] == fullScreen;
    if (data != nullptr) XFree(data);
    return listed;
}
#endif

// Follows the window manager's full-screen state of the window, which X11 tells as a change of a
// property of the window; a change the game did not ask for is noted for the message pump.
void FollowWindowManagerState(const SDL_SysWMmsg* message) {
#if defined(SDL_VIDEO_DRIVER_X11)
    if (message == nullptr || message->subsystem != SDL_SYSWM_X11 ||
        message->msg.x11.event.type != PropertyNotify)
        return;
    const XPropertyEvent& event = message->msg.x11.event.xproperty;
    Display* display = nullptr;
    Window window = 0;
    if (!GameWindowOnX11(display, window) || event.window != window) return;
    if (event.atom != XInternAtom(display, "_NET_WM_STATE", False)) return;
    const bool fullScreen = StateListsFullScreen(display, window);
    if (fullScreen == ManagerFullScreen) return;
    ManagerFullScreen = fullScreen;
    ManagerChanged = true;
#else
    (void)message;
#endif
}

// Notes every event that spoils the window's pixels, so the next picture is shown even when it
// did not change, and follows the window manager's full-screen state.
int WatchWindowEvents(void*, SDL_Event* event) {
    if (event->type == SDL_WINDOWEVENT && event->window.windowID == GameWindowId() &&
        event->window.event != SDL_WINDOWEVENT_MOVED)
        PictureSpoilt = true;
    if (event->type == SDL_SYSWMEVENT) FollowWindowManagerState(event->syswm.msg);
    return 1;
}

// Notes where the windowed window is, to give it back when it leaves full-screen.
void NotePlaceBeforeFullScreen() {
    WindowPlace& place = PlaceBeforeFullScreen;
    place.known = !ManagerFullScreen;
    SDL_GetWindowPosition(GameWindow, &place.x, &place.y);
    SDL_GetWindowSize(GameWindow, &place.width, &place.height);
    place.maximised = (SDL_GetWindowFlags(GameWindow) & SDL_WINDOW_MAXIMIZED) != 0;
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

// True when the picture is shown at a whole multiple of its size, so every pixel stays a square.
bool WholeScale(const Rect& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    return width % PictureWidth == 0 && height % PictureHeight == 0 &&
           width / PictureWidth == height / PictureHeight;
}

// Where the picture lies in an output of this size (PictureAreaIn), as SDL counts it; notes
// whether it is shown crisp.
SDL_Rect PictureRectIn(int width, int height) {
    const Rect area = PictureAreaIn(width, height);
    LastCrisp = WholeScale(area);
    return SDL_Rect{area.left, area.top, area.right - area.left, area.bottom - area.top};
}

// Where the picture lies in the game window as it is now (PictureRectIn), with the window's size
// in pixels.
SDL_Rect PictureRectInWindow(int& width, int& height) {
    SDL_GetWindowSizeInPixels(GameWindow, &width, &height);
    return PictureRectIn(width, height);
}

// The desktop's display mode; a zeroed mode when there is none.
SDL_DisplayMode DesktopMode() {
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) mode = SDL_DisplayMode{};
    return mode;
}

// The desktop's size as it is now. SDL keeps the mode it found when video started, so on X11 the
// root window, which follows every resolution change, is asked; other desktops answer through SDL.
void DesktopSize(int& width, int& height) {
    const SDL_DisplayMode mode = DesktopMode();
    width = DesktopWidthOverride != 0 ? DesktopWidthOverride : mode.w;
    height = DesktopHeightOverride != 0 ? DesktopHeightOverride : mode.h;
#if defined(SDL_VIDEO_DRIVER_X11)
    Display* display = nullptr;
    Window window = 0;
    if (DesktopWidthOverride != 0 || !GameWindowOnX11(display, window)) return;
    XWindowAttributes root{};
    if (XGetWindowAttributes(display, DefaultRootWindow(display), &root) == 0) return;
    width = root.width;
    height = root.height;
#endif
}

// Room the window manager's frame and title bar take around the client area, at most, in pixels.
constexpr int FrameWidth = 16;
constexpr int FrameHeight = 48;

// The client area a new window gets: the picture at the largest whole scale that fits the work
// area (the desktop without its panels).
void NewWindowSize(int& width, int& height) {
    SDL_Rect work{0, 0, PictureWidth, PictureHeight};
    if (SDL_GetDisplayUsableBounds(0, &work) != 0)
        work = SDL_Rect{0, 0, PictureWidth, PictureHeight};
    if (DesktopWidthOverride != 0) {
        work.w = DesktopWidthOverride;
        work.h = DesktopHeightOverride;
    }
    const int scale = WholeScaleFitting(work.w, work.h);
    width = PictureWidth * scale;
    height = PictureHeight * scale;
}

// The X server's depth, asked directly for desktops whose pixels SDL cannot describe (8-bit colour
// maps give an unknown format); 0 on other desktops.
int XServerDepth() {
#if defined(SDL_VIDEO_DRIVER_X11)
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || std::strcmp(driver, "x11") != 0) return 0;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 0;
    const int depth = DefaultDepth(display, DefaultScreen(display));
    XCloseDisplay(display);
    return depth;
#else
    return 0;
#endif
}

// Centres the windowed window on the desktop when it does not lie wholly on it.
void BringOntoDesktop() {
    if (GameWindow == nullptr || FullScreenStyle) return;
    int desktopWidth = 0;
    int desktopHeight = 0;
    DesktopSize(desktopWidth, desktopHeight);
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    SDL_GetWindowPosition(GameWindow, &x, &y);
    SDL_GetWindowSize(GameWindow, &width, &height);
    if (x >= 0 && y >= 0 && x + width <= desktopWidth && y + height <= desktopHeight) return;
    SDL_SetWindowPosition(GameWindow, std::max(0, (desktopWidth - width) / 2),
                          std::max(0, (desktopHeight - height) / 2));
}

// Leaves full-screen for the place, size and maximised state the window had before. A full-screen
// the window manager began is left to it: it gives the window back the place it remembers.
void ReturnToPlaceBeforeFullScreen() {
    const WindowPlace& place = PlaceBeforeFullScreen;
    SDL_SetWindowFullscreen(GameWindow, 0);
    if (!place.known) return;
    if (place.maximised) {
        SDL_MaximizeWindow(GameWindow);
        return;
    }
    if ((SDL_GetWindowFlags(GameWindow) & SDL_WINDOW_MAXIMIZED) != 0) SDL_RestoreWindow(GameWindow);
    SDL_SetWindowSize(GameWindow, place.width, place.height);
    SDL_SetWindowPosition(GameWindow, place.x, place.y);
    // The desktop may have shrunk meanwhile.
    BringOntoDesktop();
}

// Shows the picture with the accelerated renderer: uploaded into the streaming texture, then
// drawn into the picture area, black bars around it.
bool RenderPicture(const void* pixels, int pitch, uint32_t pixelFormatCode) {
    SDL_Texture* texture = PictureTextureFor(pixelFormatCode);
    if (texture == nullptr || SDL_UpdateTexture(texture, nullptr, pixels, pitch) != 0) {
        DropPictureTexture();
        return false;
    }
    int width = 0;
    int height = 0;
    if (SDL_GetRendererOutputSize(Renderer, &width, &height) != 0) return false;
    const SDL_Rect to = PictureRectIn(width, height);
    SDL_SetTextureScaleMode(texture, LastCrisp ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    // Bars are cleared to black; a picture that fills the output leaves none.
    if (to.w != width || to.h != height) {
        SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
        SDL_RenderClear(Renderer);
    }
    SDL_RenderCopy(Renderer, texture, nullptr, &to);
    SDL_RenderPresent(Renderer);
    return true;
}

// Clears the bars around the picture's place `to` to black, once the window's own pixels were
// spoilt; every picture covers the rest, and a picture that fills the window leaves none.
void ClearBarsOnceSpoilt(SDL_Surface* window, const SDL_Rect& to) {
    if (PictureSpoilt && (to.w != window->w || to.h != window->h)) SDL_FillRect(window, nullptr, 0);
}

// The surface the picture is converted into before it is stretched, in this format; made again
// only when the format changes. Null when it cannot be made.
SDL_Surface* ConvertedPictureIn(uint32_t format) {
    if (ConvertedPicture != nullptr && ConvertedPicture->format->format == format)
        return ConvertedPicture;
    SDL_FreeSurface(ConvertedPicture);
    ConvertedPicture = SDL_CreateRGBSurfaceWithFormat(0, PictureWidth, PictureHeight, 0, format);
    return ConvertedPicture;
}

// Converts `count` XRGB pixels into RGB565 pixels as SDL converts them, keeping the high bits of
// each colour. (SDL's conversion took half of a full-screen frame on a 16-bit desktop.)
void XrgbToRgb565(const uint8_t* from, uint8_t* to, int count) {
    const auto* in = reinterpret_cast<const uint32_t*>(from);
    auto* out = reinterpret_cast<uint16_t*>(to);
    int k = 0;
#if defined(__SSE2__)
    // Eight pixels a step, four to a register; each packed pixel is sign-extended from 16 bits so
    // that the signed pack keeps its bits.
    const auto pack = [](__m128i pixels) {
        const __m128i packed = _mm_or_si128(
            _mm_or_si128(_mm_and_si128(_mm_srli_epi32(pixels, 8), _mm_set1_epi32(0xF800)),
                         _mm_and_si128(_mm_srli_epi32(pixels, 5), _mm_set1_epi32(0x07E0))),
            _mm_and_si128(_mm_srli_epi32(pixels, 3), _mm_set1_epi32(0x001F)));
        return _mm_srai_epi32(_mm_slli_epi32(packed, 16), 16);
    };
    for (; k + 8 <= count; k += 8) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + k));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + k + 4));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k),
                         _mm_packs_epi32(pack(low), pack(high)));
    }
#endif
    for (; k < count; ++k)
        out[k] = static_cast<uint16_t>(((in[k] >> 8) & 0xF800) | ((in[k] >> 5) & 0x07E0) |
                                       ((in[k] >> 3) & 0x001F));
}

// Converts `rows` rows of `width` XRGB pixels, `from` on, into the window's pixels at `to`.
bool ConvertStretchedRows(const uint8_t* from, int width, int rows, const SDL_Surface* window,
                          uint8_t* to) {
    if (window->format->format != SDL_PIXELFORMAT_RGB565)
        return SDL_ConvertPixels(width, rows, SDL_PIXELFORMAT_RGB888, from, width * 4,
                                 window->format->format, to, window->pitch) == 0;
    for (int row = 0; row < rows; ++row)
        XrgbToRgb565(from + static_cast<ptrdiff_t>(row) * width * 4,
                     to + static_cast<ptrdiff_t>(row) * window->pitch, width);
    return true;
}

// Stretches the picture into `to` of the window's pixels: crisp at whole scales, smooth otherwise.
// Only source rows `changed` differ from the picture stretched there last: only they are converted
// into the format stretched from, and only the rows of `to` they reach are drawn, which `drawn`
// tells. The smooth stretch works on 4-byte pixels only, so for a 16-bit window it
// stretches into XRGB pixels first, which are then converted into the window. False on failure.
bool StretchIntoWindow(const uint8_t* pixels, int pitch, uint32_t pixelFormatCode,
                       SDL_Surface* window, const SDL_Rect& to, RowSpan changed, RowSpan& drawn) {
    const bool direct = LastCrisp || (window->format->BytesPerPixel == 4 &&
                                      window->format->format != SDL_PIXELFORMAT_ARGB2101010);
    const uint32_t format = direct ? window->format->format : uint32_t{SDL_PIXELFORMAT_RGB888};
    SDL_Surface* converted = ConvertedPictureIn(format);
    if (converted == nullptr) return false;
    uint8_t* convertedPixels = static_cast<uint8_t*>(converted->pixels);
    SDL_ConvertPixels(PictureWidth, changed.bottom - changed.top, pixelFormatCode,
                      pixels + changed.top * pitch, pitch, format,
                      convertedPixels + changed.top * converted->pitch, converted->pitch);
    if (LastCrisp) {
        // Each source row becomes `scale` whole rows of the window: only those of the rows that
        // changed are stretched, pixel for pixel as a stretch of the whole picture gives them.
        const int scale = to.h / PictureHeight;
        drawn = RowSpan{changed.top * scale, changed.bottom * scale};
        SDL_Rect from{0, changed.top, PictureWidth, changed.bottom - changed.top};
        SDL_Rect target{to.x, to.y + drawn.top, to.w, drawn.bottom - drawn.top};
        return SDL_SoftStretch(converted, &from, window, &target) == 0;
    }
    drawn = PictureStretch.RowsReachedBy(PictureHeight, to.h, changed);
    const SmoothStretch::Source source{convertedPixels, converted->pitch, PictureWidth,
                                       PictureHeight};
    uint8_t* const corner = static_cast<uint8_t*>(window->pixels) + to.y * window->pitch +
                            to.x * window->format->BytesPerPixel;
    if (direct) {
        PictureStretch.DrawRows(source, to.w, to.h, drawn, corner + drawn.top * window->pitch,
                                window->pitch);
        return true;
    }
    // Otherwise a few rows at a time, into a band that stays in the cache while it is converted.
    StretchBand.resize(static_cast<size_t>(to.w) * 4 * StretchBandRows);
    for (int top = drawn.top; top < drawn.bottom; top += StretchBandRows) {
        const RowSpan rows{top, std::min(top + StretchBandRows, drawn.bottom)};
        PictureStretch.DrawRows(source, to.w, to.h, rows, StretchBand.data(), to.w * 4);
        if (!ConvertStretchedRows(StretchBand.data(), to.w, rows.bottom - rows.top, window,
                                  corner + top * window->pitch))
            return false;
    }
    return true;
}

// True when two rectangles are the same.
bool SameRect(const SDL_Rect& a, const SDL_Rect& b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

// The shared picture of the X11 window for the picture at `to`, `to.w` by `to.h`, ready to be
// written; false when the window is no X11 window that shares memory with its server.
bool SharedPictureFor(const SDL_Rect& to, WindowPixels& out) {
#if defined(SDL_VIDEO_DRIVER_X11)
    Display* display = nullptr;
    Window window = 0;
    return GameWindowOnX11(display, window) &&
           SharedPicturePixels(window, DisplayString(display), to.w, to.h, out);
#else
    (void)to;
    (void)out;
    return false;
#endif
}

// The shared picture of an X11 window that shows the picture 1:1, ready to be written; false
// when the window shows it scaled or is no X11 window that shares memory with its server.
bool SharedPictureAtOneToOne(WindowPixels& out) {
    int width = 0;
    int height = 0;
    const SDL_Rect to = PictureRectInWindow(width, height);
    const bool used = to.w == PictureWidth && to.h == PictureHeight && SharedPictureFor(to, out);
    Shared = SharedShowing{used, to, width, height};
    return used;
}

// Shows the picture scaled in the shared picture of an X11 window, which the server takes without
// the game waiting for it, as DrawPictureInWindow would in the window's own pixels. Only the rows
// drawn are sent, so what the image written holds elsewhere (an older picture) is never seen.
// False, leaving the picture to the window's own pixels, when the window shows it 1:1 or has no
// shared picture; else `shown` tells whether it was shown.
bool StretchIntoSharedPicture(const uint8_t* pixels, int pitch, uint32_t pixelFormatCode,
                              RowSpan changed, bool& shown) {
    int width = 0;
    int height = 0;
    const SDL_Rect to = PictureRectInWindow(width, height);
    WindowPixels image{};
    if ((to.w == PictureWidth && to.h == PictureHeight) || !SharedPictureFor(to, image))
        return false;
    const bool whole = PictureSpoilt || !SameRect(to, StretchedAt);
    if (whole) changed = RowSpan{0, PictureHeight};
    shown = true;
    if (changed.top >= changed.bottom) return true;
    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormatFrom(image.corner, to.w, to.h,
                                                             SDL_BITSPERPIXEL(image.formatCode),
                                                             image.pitch, image.formatCode);
    RowSpan drawn = changed;
    shown = target != nullptr && StretchIntoWindow(pixels, pitch, pixelFormatCode, target,
                                                   SDL_Rect{0, 0, to.w, to.h}, changed, drawn);
    SDL_FreeSurface(target);
    if (!shown) return true;
    if (whole) BlackenAroundSharedPicture(to.x, to.y, width, height);
    SendSharedRows(to.x, to.y, drawn.top, drawn.bottom);
    ShownAt = SDL_Rect{0, 0, 0, 0};
    StretchedAt = to;
    return true;
}

// Shows the picture in the window's own pixels, without a renderer: at 1:1 one conversion
// straight into them, scaled a stretch; black bars around it. Only source rows `changed` differ
// from the picture shown last: unless the window was spoilt or the picture now lies elsewhere or
// in another format, only the part of the window they reach is drawn and sent to the display.
bool DrawPictureInWindow(const void* pixels, int pitch, uint32_t pixelFormatCode, RowSpan changed) {
    bool shown = false;
    if (StretchIntoSharedPicture(static_cast<const uint8_t*>(pixels), pitch, pixelFormatCode,
                                 changed, shown))
        return shown;
    SDL_Surface* window = SDL_GetWindowSurface(GameWindow);
    if (window == nullptr) return false;
    const SDL_Rect to = PictureRectIn(window->w, window->h);
    const bool whole =
        PictureSpoilt || !SameRect(to, ShownAt) || window->format->format != ShownFormat;
    if (whole) changed = RowSpan{0, PictureHeight};
    if (changed.top >= changed.bottom) return true;
    ClearBarsOnceSpoilt(window, to);
    const uint8_t* from = static_cast<const uint8_t*>(pixels);
    RowSpan drawn = changed;
    if (to.w == PictureWidth && to.h == PictureHeight) {
        uint8_t* corner = static_cast<uint8_t*>(window->pixels) + to.y * window->pitch +
                          to.x * window->format->BytesPerPixel;
        SDL_ConvertPixels(PictureWidth, changed.bottom - changed.top, pixelFormatCode,
                          from + changed.top * pitch, pitch, window->format->format,
                          corner + changed.top * window->pitch, window->pitch);
    } else if (!StretchIntoWindow(from, pitch, pixelFormatCode, window, to, changed, drawn)) {
        return false;
    }
    ShownAt = to;
    ShownFormat = window->format->format;
    StretchedAt = SDL_Rect{0, 0, 0, 0};
    if (whole) return SDL_UpdateWindowSurface(GameWindow) == 0;
    const SDL_Rect rows{to.x, to.y + drawn.top, to.w, drawn.bottom - drawn.top};
    return SDL_UpdateWindowSurfaceRects(GameWindow, &rows, 1) == 0;
}

}  // namespace

bool StartVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) return true;
    const bool asked = !EnvironmentValue("SDL_VIDEODRIVER").empty();
    const std::string desktop = DesktopDrivers();
    // Only the desktop's own drivers are tried: SDL would otherwise fall back to its offscreen
    // driver, and the game would run unseen.
    if (!asked && !desktop.empty()) SDL_SetHint(SDL_HINT_VIDEODRIVER, desktop.c_str());
    const auto deadline = std::chrono::steady_clock::now() + DesktopPatience;
    while (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (asked || desktop.empty() || std::chrono::steady_clock::now() > deadline) {
            NoteFailure("the display");
            return false;
        }
        SDL_Delay(DesktopRetryPauseMs);
    }
    if (!asked && HeadlessVideo()) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        Failure = "the display: no desktop to show the window on";
        return false;
    }
    return true;
}

bool CreateGameWindow() {
    if (GameWindow != nullptr) return true;
    if (!StartVideo()) return false;
    // The click that brings the game to the front also counts, as on the desktops the game was
    // first made for.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // The window's own pixels are plain memory sent to the display, not a texture of a renderer.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Made for OpenGL from the start where the renderer will be, so SDL never re-creates it.
    const bool hardware = DisplayHasHardware();
    int width = 0;
    int height = 0;
    NewWindowSize(width, height);
    GameWindow = SDL_CreateWindow(
        WindowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
        SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE | (hardware ? SDL_WINDOW_OPENGL : 0));
    if (GameWindow == nullptr) {
        NoteFailure("the window");
        return false;
    }
    SDL_SetWindowMinimumSize(GameWindow, PictureWidth, PictureHeight);
    if (hardware) Renderer = CreateRenderer(GameWindow);
    if (hardware && Renderer == nullptr) {
        NoteFailure("the renderer");
        SDL_DestroyWindow(GameWindow);
        GameWindow = nullptr;
        return false;
    }
    SDL_AddEventWatch(WatchWindowEvents, nullptr);
    // The window manager's messages tell when it ends full-screen by its own key or menu.
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    PictureSpoilt = true;
    FullScreenStyle = false;
    PlaceBeforeFullScreen = WindowPlace{};
    ManagerFullScreen = false;
    ManagerChanged = false;
    HasIcon = false;
    DesktopSize(SeenDesktopWidth, SeenDesktopHeight);
    return true;
}

std::string WindowFailure() { return Failure; }

bool HeadlessVideo() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver == nullptr || SDL_strcmp(driver, "dummy") == 0 ||
           SDL_strcmp(driver, "offscreen") == 0;
}

void DestroyGameWindow() {
    if (GameWindow == nullptr || Destroying) return;
    Destroying = true;
    if (DestroyedHandler != nullptr) DestroyedHandler();
    DropPictureTexture();
    ReleaseSharedPicture();
    Shared = SharedShowing{};
    StretchedAt = SDL_Rect{0, 0, 0, 0};
    SDL_FreeSurface(ConvertedPicture);
    ConvertedPicture = nullptr;
    SDL_DelEventWatch(WatchWindowEvents, nullptr);
    if (Renderer != nullptr) SDL_DestroyRenderer(Renderer);
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
    const bool leaving = FullScreenStyle && !fullScreen;
    if (fullScreen && !FullScreenStyle) NotePlaceBeforeFullScreen();
    FullScreenStyle = fullScreen;
    if (fullScreen) {
        SDL_SetWindowFullscreen(GameWindow, SDL_WINDOW_FULLSCREEN_DESKTOP);
        return;
    }
    if (leaving) {
        ReturnToPlaceBeforeFullScreen();
        return;
    }
    // A window already of a new window's size on the desktop is left alone: every move or resize
    // asked of X11 waits for the window manager, even one that changes nothing.
    const uint32_t flags = SDL_GetWindowFlags(GameWindow);
    int width = 0;
    int height = 0;
    int newWidth = 0;
    int newHeight = 0;
    SDL_GetWindowSize(GameWindow, &width, &height);
    NewWindowSize(newWidth, newHeight);
    if ((flags & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_MAXIMIZED)) == 0 && width == newWidth &&
        height == newHeight) {
        BringOntoDesktop();
        return;
    }
    SDL_SetWindowFullscreen(GameWindow, 0);
    if ((flags & SDL_WINDOW_MAXIMIZED) != 0) SDL_RestoreWindow(GameWindow);
    SDL_SetWindowSize(GameWindow, newWidth, newHeight);
    SDL_SetWindowPosition(GameWindow, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    // SDL centres on the desktop as it found it at start; the desktop may be smaller now.
    BringOntoDesktop();
}

int WholeScaleFitting(int workWidth, int workHeight) {
    const int across = (workWidth - FrameWidth) / PictureWidth;
    const int down = (workHeight - FrameHeight) / PictureHeight;
    return std::max(1, std::min(across, down));
}

bool WindowManagerChangedFullScreen(bool& fullScreen) {
    if (!ManagerChanged) return false;
    ManagerChanged = false;
    fullScreen = ManagerFullScreen;
    return ManagerFullScreen != FullScreenStyle;
}

void KeepGameWindowOnDesktop() {
    int width = 0;
    int height = 0;
    DesktopSize(width, height);
    if (width == SeenDesktopWidth && height == SeenDesktopHeight) return;
    SeenDesktopWidth = width;
    SeenDesktopHeight = height;
    BringOntoDesktop();
}

Rect ClientAreaOnScreen() {
    int x = 0;
    int y = 0;
    if (GameWindow != nullptr && !FullScreenStyle) SDL_GetWindowPosition(GameWindow, &x, &y);
    return Rect{x, y, x + PictureWidth, y + PictureHeight};
}

Rect PictureAreaIn(int width, int height) {
    // The tighter side is filled; the other follows the 4:3 aspect, to the nearest pixel.
    int areaWidth = width;
    int areaHeight = height;
    if (int64_t{width} * PictureHeight > int64_t{height} * PictureWidth)
        areaWidth =
            static_cast<int>((int64_t{height} * PictureWidth + PictureHeight / 2) / PictureHeight);
    else
        areaHeight =
            static_cast<int>((int64_t{width} * PictureHeight + PictureWidth / 2) / PictureWidth);
    const int left = (width - areaWidth) / 2;
    const int top = (height - areaHeight) / 2;
    return Rect{left, top, left + areaWidth, top + areaHeight};
}

int DesktopBitsPerPixel() {
    if (DesktopDepthOverride != 0) return DesktopDepthOverride;
    const uint32_t format = DesktopMode().format;
    if (format == SDL_PIXELFORMAT_UNKNOWN) return XServerDepth();
    if (SDL_BYTESPERPIXEL(format) > 1) return SDL_BYTESPERPIXEL(format) * 8;
    return SDL_BITSPERPIXEL(format);
}

int DesktopPixelWidth() {
    int width = 0;
    int height = 0;
    DesktopSize(width, height);
    return width;
}

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
    return ShowChangedWindowPicture(pixels, pitch, pixelFormatCode, 0, PictureHeight);
}

bool ShowChangedWindowPicture(const void* pixels, int pitch, uint32_t pixelFormatCode,
                              int changedTop, int changedBottom) {
    const bool shown = Renderer != nullptr
                           ? RenderPicture(pixels, pitch, pixelFormatCode)
                           : DrawPictureInWindow(pixels, pitch, pixelFormatCode,
                                                 RowSpan{changedTop, changedBottom});
    PictureSpoilt = !shown;
    LastShownSynced = shown && Renderer != nullptr && RendererSynced;
    return shown;
}

bool WindowPixelsAtPicture(WindowPixels& out) {
    if (GameWindow == nullptr || Renderer != nullptr) return false;
    if (SharedPictureAtOneToOne(out)) return true;
    // A scaled picture never goes straight into the window's pixels: they are not even made.
    if (Shared.to.w != PictureWidth || Shared.to.h != PictureHeight) return false;
    SDL_Surface* window = SDL_GetWindowSurface(GameWindow);
    if (window == nullptr) return false;
    const SDL_Rect to = PictureRectIn(window->w, window->h);
    if (to.w != PictureWidth || to.h != PictureHeight) return false;
    ClearBarsOnceSpoilt(window, to);
    out.corner = static_cast<uint8_t*>(window->pixels) + to.y * window->pitch +
                 to.x * window->format->BytesPerPixel;
    out.pitch = window->pitch;
    out.formatCode = window->format->format;
    out.shown = out.corner;
    out.behind = RowSpan{0, 0};
    return true;
}

bool ShowWindowRows(int top, int bottom) {
    LastShownSynced = false;
    ShownAt = SDL_Rect{0, 0, 0, 0};
    StretchedAt = SDL_Rect{0, 0, 0, 0};
    if (Shared.used) {
        if (PictureSpoilt)
            BlackenAroundSharedPicture(Shared.to.x, Shared.to.y, Shared.width, Shared.height);
        SendSharedRows(Shared.to.x, Shared.to.y, top, bottom);
        PictureSpoilt = false;
        return true;
    }
    SDL_Surface* window = SDL_GetWindowSurface(GameWindow);
    if (window == nullptr) return false;
    const SDL_Rect to = PictureRectIn(window->w, window->h);
    // A spoilt window gets all its pixels again, bars included.
    const SDL_Rect rows = PictureSpoilt ? SDL_Rect{0, 0, window->w, window->h}
                                        : SDL_Rect{to.x, to.y + top, to.w, bottom - top};
    const bool shown = SDL_UpdateWindowSurfaceRects(GameWindow, &rows, 1) == 0;
    PictureSpoilt = !shown;
    return shown;
}

bool WindowNeedsPicture() { return PictureSpoilt; }

bool LastPictureWaitedForDisplay() { return LastShownSynced; }

int DisplayRefreshRate() {
    SDL_DisplayMode mode{};
    const int display = GameWindow != nullptr ? SDL_GetWindowDisplayIndex(GameWindow) : 0;
    if (SDL_GetCurrentDisplayMode(std::max(display, 0), &mode) != 0 || mode.refresh_rate <= 0)
        return DefaultRefreshRate;
    return mode.refresh_rate;
}

void SetGameWindowIcon(const void* pixels, int width, int height, int pitch,
                       uint32_t pixelFormatCode, bool keyed, uint32_t key) {
    if (GameWindow == nullptr) return;
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<void*>(pixels), width, height,
                                                           SDL_BITSPERPIXEL(pixelFormatCode), pitch,
                                                           pixelFormatCode);
    if (icon == nullptr) return;
    // SDL turns the key into transparency when it converts the icon for the desktop.
    if (keyed) SDL_SetColorKey(icon, SDL_TRUE, key);
    SDL_SetWindowIcon(GameWindow, icon);
    SDL_FreeSurface(icon);
    HasIcon = true;
}

void OverrideDesktopDepthForTests(int bitsPerPixel) { DesktopDepthOverride = bitsPerPixel; }

void OverrideDesktopSizeForTests(int width, int height) {
    DesktopWidthOverride = width;
    DesktopHeightOverride = height;
}

bool GameWindowHasIcon() { return HasIcon; }

bool LastPictureCrisp() { return LastCrisp; }

}  // namespace platform
