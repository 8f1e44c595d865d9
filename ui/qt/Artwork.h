#pragma once

#include "Pictures.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>

// The program's pictures (Pictures.h) as Qt images and icons.
namespace zorby::ui {

QImage ToImage(const Pixels& pixels);

// The window and task bar emblem, at 16 and 32 pixels.
QIcon ApplicationIcon();

// The debug view toggle's chart, at 16 and 32 pixels.
QIcon DebugButtonIcon();

// The About box emblem, 48 by 48 logical pixels at the given device pixel ratio.
QPixmap AboutEmblem(qreal devicePixelRatio);

// The image button's plate, 102 by 34 logical pixels at the given device pixel ratio.
QPixmap PlatePixmap(PlateTone tone, qreal devicePixelRatio);

} // namespace zorby::ui
