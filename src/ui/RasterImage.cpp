#include "ui/RasterImage.h"

#include <algorithm>

namespace umbrix::ui {

QImage ToQImage(const Raster& raster) {
    QImage image(raster.width(), raster.height(), QImage::Format_RGB32);
    for (int y = 0; y < raster.height(); ++y) {
        const Colour* in = raster.row(y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < raster.width(); ++x)
            out[x] = qRgb(RedOf(in[x]), GreenOf(in[x]), BlueOf(in[x]));
    }
    return image;
}

void CopyImageToRaster(const QImage& image, Raster& raster) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int w = std::min(rgb.width(), raster.width());
    const int h = std::min(rgb.height(), raster.height());
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        Colour* out = raster.row(y);
        for (int x = 0; x < w; ++x) out[x] = Rgb(qRed(in[x]), qGreen(in[x]), qBlue(in[x]));
    }
}

}  // namespace umbrix::ui
