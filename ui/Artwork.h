#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures. All of them are drawn here in code, so they scale cleanly and need no files.
namespace zorby::ui {

// The window and task bar emblem: a metal-rimmed slate badge with a gold "Z" and motion marks.
// Holds sizes from 16 to 256 pixels.
QIcon ApplicationIcon();

// The debug view toggle: a framed dark chart grid with a light curve across it, at 16 and 32 pixels.
QIcon DebugButtonIcon();

// The About box emblem, 48 by 48 logical pixels at the given device pixel ratio.
QPixmap AboutEmblem(qreal devicePixelRatio);

} // namespace zorby::ui
