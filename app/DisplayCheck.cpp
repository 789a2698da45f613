#include "DisplayCheck.h"

#include <cstring>

QString missingDisplayMessage(int argc, const char *const argv[]) {
    // A platform chosen by name (offscreen, vnc, a display given to xcb...) is the user's call.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return {};
    if (!qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
        !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return {};
    return QStringLiteral("terrain-palette-editor needs a desktop session (neither DISPLAY nor "
                          "WAYLAND_DISPLAY is set); to try it without one, run it on a private X "
                          "server (Xvfb): xvfb-run terrain-palette-editor");
}
