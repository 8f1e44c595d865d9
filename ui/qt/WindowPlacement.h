#pragma once

#include "WindowLayout.h"

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace zorby::ui {

// A rectangle of the layout in pixels at 96 dots per inch.
QRect PixelRect(const TwipRect& rect);

// Where the frame of a window centred on `screen` starts, in screen pixels (CentredPosition).
QPoint CentredOn(const QRect& screen, const QSize& client, const QMargins& frame);

} // namespace zorby::ui
