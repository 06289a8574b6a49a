#pragma once
// Where a diet tool window first appears: over the middle of the window that
// owns it (the frame), and wholly on that screen. Left to itself a desktop may
// put a new window into whatever corner is still free, with its lower part and
// its buttons off the screen.
class QWidget;

/// Move a top-level window, about to be shown for the first time, over the
/// middle of its parent's window (the screen's middle when it has none),
/// keeping it and its title bar within the screen's free area. Call it from
/// the window's show event, when its size is known and before it is mapped.
void placeToolWindow(QWidget *window);
