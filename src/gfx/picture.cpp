// Reads a Sprite's picture from the "bmp" folder and writes it into the Sprite's surface.
#include "gfx/picture.h"

#include <algorithm>
#include <cctype>

#include "gfx/picture_sizes.h"
#include "platform/dib.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "shared/error_box.h"
#include "shared/language.h"

bool IsJpegName(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find(".jpg") != std::string::npos;
}

std::string PicturePath(const std::string& name) { return platform::GamePath("bmp\\" + name); }

void ShowPictureError(const std::string& name, const std::string& problem) {
    ShowError(
        TranslatedSentence("Pelmaro could not read its picture\n%s\n(%s).\nYour game in "
                           "progress is kept.\nReinstalling Pelmaro mends this.",
                           platform::FullPath(PicturePath(name)).c_str(), problem.c_str()));
}

bool ReadPicture(const std::string& name, Picture& picture) {
    picture = Picture();
    picture.IsJpeg = IsJpegName(name);
    std::string problem;
    if (picture.IsJpeg) {
        picture.Jpeg.Load(PicturePath(name));
        picture.Width = picture.Jpeg.Width;
        picture.Height = picture.Jpeg.Height;
        problem = picture.Jpeg.Problem;
    } else if (ReadBmpFile(PicturePath(name), picture.Bmp, &problem)) {
        picture.Width = picture.Bmp.Width;
        picture.Height = picture.Bmp.Height;
    }
    if (picture.Width <= 0 || picture.Height <= 0) {
        ShowPictureError(name, problem);
        return false;
    }
    int32_t width = 0;
    int32_t height = 0;
    if (ExpectedPictureSize(name, width, height) &&
        (picture.Width != width || picture.Height != height)) {
        ShowPictureError(name, "it is " + std::to_string(picture.Width) + " x " +
                                   std::to_string(picture.Height) + " pixels, not " +
                                   std::to_string(width) + " x " + std::to_string(height));
        return false;
    }
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
