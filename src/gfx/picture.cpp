// Reads a Sprite's picture from the "bmp" folder and writes it into the Sprite's surface.
#include "gfx/picture.h"

#include <algorithm>
#include <cctype>

#include "platform/dib.h"
#include "platform/paths.h"
#include "shared/error_box.h"

bool IsJpegName(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find(".jpg") != std::string::npos;
}

std::string PicturePath(const std::string& name) { return platform::GamePath("bmp\\" + name); }

bool ReadPicture(const std::string& name, Picture& picture) {
    picture = Picture();
    picture.IsJpeg = IsJpegName(name);
    if (picture.IsJpeg) {
        picture.Jpeg.Load(PicturePath(name));
        picture.Width = picture.Jpeg.Width;
        picture.Height = picture.Jpeg.Height;
        // A missing or broken JPEG decodes to nothing: the box names the picture.
        if (picture.Width > 0 && picture.Height > 0) return true;
        ShowError(name);
        return false;
    }
    if (!ReadBmpFile(PicturePath(name), picture.Bmp)) {
        ShowError(name);
        return false;
    }
    picture.Width = picture.Bmp.Width;
    picture.Height = picture.Bmp.Height;
    return true;
}

void TransferPicture(Picture& picture, platform::Surface* surface) {
    if (picture.IsJpeg) {
        platform::WriteDib(surface, picture.Jpeg.Header.data(), picture.Jpeg.Header.size(),
                           picture.Jpeg.Pixels.data(), picture.Jpeg.Pixels.size());
        picture.Jpeg.Free();
        return;
    }
    const std::vector<uint8_t>& data = picture.Bmp.Data;
    const size_t offset = std::min(picture.Bmp.PixelOffset, data.size());
    platform::WriteDib(surface, data.data(), offset, data.data() + offset, data.size() - offset);
    picture.Bmp = BmpPicture();
}
