// Bitmap files (horizon drawings, templates): any bytes are decoded or refused with FileError;
// a decoded picture survives writing and reading.
#include "FuzzInput.h"
#include "platform/Bmp.h"
#include "platform/Error.h"

using namespace umbrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Raster picture;
    try {
        picture = DecodeBmp(std::span<const std::uint8_t>(data, size), "fuzz.bmp");
    } catch (const FileError&) {
        return 0;
    }
    fuzz::Check(picture.width() > 0 && picture.height() > 0, "a decoded picture has pixels");
    if (std::int64_t(picture.width()) * picture.height() <= 1 << 20) {
        const std::vector<std::uint8_t> encoded = EncodeBmp(picture);
        const Raster back = DecodeBmp(encoded, "written.bmp");
        fuzz::Check(back == picture, "a written picture reads back unchanged");
    }
    return 0;
}
