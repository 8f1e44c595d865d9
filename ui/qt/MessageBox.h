#pragma once

#include "WindowPort.h"

#include <QString>

class QWidget;

namespace zorby::ui {

// Shows a QMessageBox and waits for the answer. The box fits the free area of its screen, its text cut
// where it would not; a Yes/No box that is closed instead of answered (its close button, the program
// asked to quit, the main window closed) gives Answer::Closed. Esc answers No.
Answer ShowMessageBox(QWidget* parent, const QString& title, const QString& text, MessageIcon icon,
                      MessageButtons buttons);

} // namespace zorby::ui
