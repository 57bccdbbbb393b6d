#pragma once

namespace talvo {

class NotchViewModel;
class NotchWindowController;
class ShelfDragOut;

// Lets the notch follow the shelf's drag-out sessions: the strip shows while a
// file is on its way out, a session's end also ends the file drag it looked
// like over the notch, and a moved file's item leaves the shelf once the file
// is gone. Connections end with either side.
void linkShelfDragOut(ShelfDragOut &dragOut, NotchViewModel &viewModel, NotchWindowController &controller);

} // namespace talvo
