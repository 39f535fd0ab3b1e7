#pragma once

class QWidget;

// Shows `window` in front of the program's other windows and asks for it to become the active
// window, restoring it when minimised. Every window the program opens or shows for the user comes
// forward through here.
void BringWindowToFront(QWidget& window);
