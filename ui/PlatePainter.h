#pragma once

#include <QSize>

class QPainter;

namespace zorby::ui {

// The two looks of the image button's plate: at rest, and lit while the pointer is over it.
enum class PlateTone { Dark, Light };

// Both plates are 102 by 34 logical pixels; the button is one pixel larger each way.
inline constexpr QSize kPlateSize{102, 34};

// Paints the plate with its top-left corner at the painter's origin, in logical pixels. Drawn as
// vectors, so it stays crisp at any device pixel ratio. The corners are left untouched (transparent).
void PaintPlate(QPainter& painter, PlateTone tone);

// A faint dotted frame inside the plate's field, shown while the button has keyboard focus.
void PaintFocusMark(QPainter& painter);

} // namespace zorby::ui
