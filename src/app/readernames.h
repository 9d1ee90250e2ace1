#pragma once

class QWidget;

namespace quillon {

// Gives the window's controls whose captions do not say what they are the names screen readers
// announce. Finds them by object name, so it runs once the window has laid them out.
void nameControlsForReaders(QWidget &window);

} // namespace quillon
