#pragma once
// The desktop's renderer of recorded pictures: the same operations the raster playback and the
// SVG writer walk, drawn by a QPainter with antialiasing and a scalable font, so that the
// screen, a printer or a PDF get smooth lines and real text (vectors on a printer or PDF).
#include <QImage>
#include <QRectF>
#include <QSize>

#include "platform/Picture.h"

class QPainter;

namespace umbrix::ui {

// The picture scaled into target (painter units), its aspect kept and centred. Lines of width
// 0 and 1 stay one picture unit wide, wider pens scale as in the raster playback.
void PaintPicture(QPainter& painter, const Picture& picture, const QRectF& target);

// Where the picture lands inside target with its aspect kept.
QRectF FittedRect(const Picture& picture, const QRectF& target);

// A white image of the given size in device pixels (at devicePixelRatio dpr) with the picture
// drawn on it.
QImage RenderPicture(const Picture& picture, QSize pixels, qreal dpr = 1);

}  // namespace umbrix::ui
