#pragma once

namespace corvane {

// True when a window can be shown: QT_QPA_PLATFORM names a platform that needs no display (the
// user's own choice, such as offscreen), the Wayland socket of WAYLAND_DISPLAY exists, or the X
// display of DISPLAY opens. The toolkit ends the program when it can't reach a display it was
// told about, so this is asked first.
bool displayAvailable();

}  // namespace corvane
