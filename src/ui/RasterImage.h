#pragma once
// Pictures between the core's rasters (0xBBGGRR pixels) and Qt images.
#include <QImage>

#include "platform/Raster.h"

namespace umbrix::ui {

QImage ToQImage(const Raster& raster);
// Copies the image into the raster, which keeps its size; pixels outside the image stay.
void CopyImageToRaster(const QImage& image, Raster& raster);

}  // namespace umbrix::ui
