// The picture of the game window on an X11 desktop, kept in memory shared with the X server.
//
// SDL's own window pixels wait, at every picture shown, until the X server has copied them; here
// the picture goes on its own connection to the server, which tells when it has taken a picture.
// There are two pictures, written and sent in turn: while the server takes one, the game draws
// its next frame and writes it into the other, so it waits only if the server is a whole frame
// behind.
#include "platform/shared_picture.h"

#include <SDL.h>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstring>
#endif

namespace platform {

#if defined(SDL_VIDEO_DRIVER_X11)

namespace {

// The shared pictures of one window: the connection they go by, their size, their two images in
// one segment of shared memory, which image is written next, whether a send of each has not yet
// been taken by the server, and the rows of the last send.
struct SharedPicture {
    Display* display = nullptr;
    Window window = 0;
    int width = 0;
    int height = 0;
    GC gc = nullptr;
    XShmSegmentInfo segment{};
    XImage* images[2] = {nullptr, nullptr};
    uint32_t formatCode = SDL_PIXELFORMAT_UNKNOWN;
    // The type of the event by which the server tells it has taken a picture.
    int takenEvent = 0;
    int next = 0;
    bool sending[2] = {false, false};
    RowSpan lastSent{0, 0};
};
// The game window's shared picture; empty until the window first shows a picture without SDL's
// own window pixels.
SharedPicture Picture;
// The window memory could not be shared for; it keeps SDL's own window pixels.
Window RefusedWindow = 0;
// The server refused a request while the quiet error handler listened.
bool ServerRefused = false;

int NoteRefusal(Display*, XErrorEvent*) {
    ServerRefused = true;
    return 0;
}

// Runs the requests of `step` and waits for the server's answer with the quiet error handler in
// place of the program's own (which ends the program); false when the server refused one.
template <typename Step>
bool QuietlyAnswered(Display* display, Step step) {
    ServerRefused = false;
    XErrorHandler previous = XSetErrorHandler(NoteRefusal);
    const bool done = step();
    XSync(display, False);
    XSetErrorHandler(previous);
    return done && !ServerRefused;
}

// True when the server is on this machine and shares memory: a server reached over the network
// cannot see the game's memory.
bool SharesMemory(Display* display) {
    const char* name = DisplayString(display);
    const bool local = name[0] == ':' || std::strncmp(name, "unix:", 5) == 0;
    return local && XShmQueryExtension(display) != False;
}

// The SDL pixel format code of an image of pixels of 2 or 4 bytes that hold their colour in
// channel masks (true or direct colour, as a virtual server offers), in the machine's byte order;
// SDL_PIXELFORMAT_UNKNOWN for any other image.
uint32_t FormatOf(const XImage* image, const Visual* visual) {
    const int machineOrder = SDL_BYTEORDER == SDL_LIL_ENDIAN ? LSBFirst : MSBFirst;
    const bool masked = visual->c_class == TrueColor || visual->c_class == DirectColor;
    if (!masked || image->byte_order != machineOrder ||
        (image->bits_per_pixel != 16 && image->bits_per_pixel != 32))
        return SDL_PIXELFORMAT_UNKNOWN;
    return SDL_MasksToPixelFormatEnum(image->bits_per_pixel, static_cast<uint32_t>(image->red_mask),
                                      static_cast<uint32_t>(image->green_mask),
                                      static_cast<uint32_t>(image->blue_mask), 0);
}

// Bytes of one image of the picture.
size_t ImageBytes(const XImage* image) {
    return static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(image->height);
}

// Makes the two images of the picture in the window's visual with their shared memory, attached
// to the server; false when the images do not suit or the memory cannot be shared.
bool MakeImages(SharedPicture& made) {
    XWindowAttributes window{};
    if (!QuietlyAnswered(made.display, [&] {
            return XGetWindowAttributes(made.display, made.window, &window) != 0;
        }))
        return false;
    for (XImage*& image : made.images) {
        image = XShmCreateImage(made.display, window.visual, static_cast<unsigned>(window.depth),
                                ZPixmap, nullptr, &made.segment, static_cast<unsigned>(made.width),
                                static_cast<unsigned>(made.height));
        if (image == nullptr) return false;
    }
    made.formatCode = FormatOf(made.images[0], window.visual);
    if (made.formatCode == SDL_PIXELFORMAT_UNKNOWN) return false;
    made.segment.shmid = shmget(IPC_PRIVATE, 2 * ImageBytes(made.images[0]), IPC_CREAT | 0600);
    if (made.segment.shmid < 0) return false;
    made.segment.shmaddr = static_cast<char*>(shmat(made.segment.shmid, nullptr, 0));
    // The segment goes once both the game and the server have let it go.
    const bool mapped = made.segment.shmaddr != reinterpret_cast<char*>(-1);
    if (!mapped) made.segment.shmaddr = nullptr;
    const bool attached = mapped && QuietlyAnswered(made.display, [&] {
                              made.segment.readOnly = False;
                              return XShmAttach(made.display, &made.segment) != False;
                          });
    shmctl(made.segment.shmid, IPC_RMID, nullptr);
    if (!attached) return false;
    made.images[0]->data = made.segment.shmaddr;
    made.images[1]->data = made.segment.shmaddr + ImageBytes(made.images[0]);
    made.gc = XCreateGC(made.display, made.window, 0, nullptr);
    made.takenEvent = XShmGetEventBase(made.display) + ShmCompletion;
    return true;
}

// Lets go of what was made of a shared picture, in the reverse order, once the server has done
// with every picture sent; its refusals about a window gone meanwhile are not the program's end.
void Unmake(SharedPicture& picture) {
    if (picture.display == nullptr) return;
    QuietlyAnswered(picture.display, [&] {
        if (picture.gc != nullptr) XFreeGC(picture.display, picture.gc);
        if (picture.images[0] != nullptr && picture.images[0]->data != nullptr)
            XShmDetach(picture.display, &picture.segment);
        return true;
    });
    for (XImage* image : picture.images) {
        if (image == nullptr) continue;
        image->data = nullptr;
        XDestroyImage(image);
    }
    if (picture.segment.shmaddr != nullptr) shmdt(picture.segment.shmaddr);
    XCloseDisplay(picture.display);
    picture = SharedPicture{};
}

// Opens the shared picture of the window, `width` by `height`, on its own connection to the
// desktop; false when it cannot be had. It is made in place: the images keep the address of their
// segment's description.
bool Open(unsigned long window, const char* displayName, int width, int height) {
    Picture.display = XOpenDisplay(displayName);
    Picture.window = window;
    Picture.width = width;
    Picture.height = height;
    if (Picture.display != nullptr && SharesMemory(Picture.display) && MakeImages(Picture))
        return true;
    Unmake(Picture);
    RefusedWindow = window;
    return false;
}

// Picks the server's word that it has taken a picture out of the connection's events.
Bool IsTaken(Display*, XEvent* event, XPointer takenEvent) {
    return event->type == *reinterpret_cast<const int*>(takenEvent) ? True : False;
}

// Waits until the server has taken the last send of one image, so its pixels may be written. The
// server's word names the image by where it lies in the segment.
void WaitUntilTaken(int image) {
    while (Picture.sending[image]) {
        XEvent event;
        XIfEvent(Picture.display, &event, IsTaken, reinterpret_cast<XPointer>(&Picture.takenEvent));
        const auto& taken = reinterpret_cast<const XShmCompletionEvent&>(event);
        Picture.sending[taken.offset == 0 ? 0 : 1] = false;
    }
}

}  // namespace

bool SharedPicturePixels(unsigned long window, const char* displayName, int width, int height,
                         WindowPixels& out) {
    if (window == RefusedWindow) return false;
    if (Picture.display != nullptr &&
        (Picture.window != window || Picture.width != width || Picture.height != height))
        ReleaseSharedPicture();
    if (Picture.display == nullptr && !Open(window, displayName, width, height)) return false;
    const int next = Picture.next;
    WaitUntilTaken(next);
    // The image written next holds the picture before the one shown, which differs from it only
    // in the rows sent last.
    out = WindowPixels{reinterpret_cast<uint8_t*>(Picture.images[next]->data),
                       Picture.images[next]->bytes_per_line, Picture.formatCode,
                       reinterpret_cast<const uint8_t*>(Picture.images[1 - next]->data),
                       Picture.lastSent};
    return true;
}

void SendSharedRows(int x, int y, int top, int bottom) {
    if (Picture.display == nullptr || top >= bottom) return;
    const int sent = Picture.next;
    XShmPutImage(Picture.display, Picture.window, Picture.gc, Picture.images[sent], 0, top, x,
                 y + top, static_cast<unsigned>(Picture.width), static_cast<unsigned>(bottom - top),
                 True);
    XFlush(Picture.display);
    Picture.sending[sent] = true;
    Picture.lastSent = RowSpan{top, bottom};
    Picture.next = 1 - sent;
}

void BlackenAroundSharedPicture(int x, int y, int width, int height) {
    if (Picture.display == nullptr) return;
    const int right = x + Picture.width;
    const int bottom = y + Picture.height;
    const auto fill = [](int left, int top, int across, int down) {
        if (across > 0 && down > 0)
            XFillRectangle(Picture.display, Picture.window, Picture.gc, left, top,
                           static_cast<unsigned>(across), static_cast<unsigned>(down));
    };
    XSetForeground(Picture.display, Picture.gc, 0);
    fill(0, 0, width, y);
    fill(0, bottom, width, height - bottom);
    fill(0, y, x, Picture.height);
    fill(right, y, width - right, Picture.height);
}

void ReleaseSharedPicture() {
    Unmake(Picture);
    RefusedWindow = 0;
}

#else

bool SharedPicturePixels(unsigned long, const char*, int, int, WindowPixels&) { return false; }

void SendSharedRows(int, int, int, int) {}

void BlackenAroundSharedPicture(int, int, int, int) {}

void ReleaseSharedPicture() {}

#endif

}  // namespace platform
