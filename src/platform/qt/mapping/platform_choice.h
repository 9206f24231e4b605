// Choosing the windowing platform before the widget toolkit starts.
//
// The toolkit ends the process when none of the platforms it tries can be
// opened (an X server that is not there, say). So the host decides first,
// from the same environment, which platform to open, checks that it can be
// reached, and names it explicitly; when none can be, no window is made and
// the reason is reported instead.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zor::host {

struct PlatformEnvironment {
    std::string qpaPlatform;    // QT_QPA_PLATFORM: names separated by ';', each optionally with ":arguments"
    std::string sessionType;    // XDG_SESSION_TYPE
    std::string currentDesktop; // XDG_CURRENT_DESKTOP
    std::string sessionDesktop; // XDG_SESSION_DESKTOP
    bool waylandDisplaySet = false;
};

// Checks of the outside world. Each returns an empty string when the thing
// is there, else a short reason.
struct PlatformProbes {
    std::function<std::string()> xServer;                   // the X server of DISPLAY accepts a connection
    std::function<std::string()> waylandCompositor;         // the socket of WAYLAND_DISPLAY accepts a connection
    std::function<std::string(const std::string &)> plugin; // the platform plugin of that name is installed
};

struct PlatformChoice {
    bool usable = false;
    std::string platform; // the chosen name with its arguments, as QT_QPA_PLATFORM spells it
    std::string reason;   // why nothing is usable
};

// The platforms to try, in order: QT_QPA_PLATFORM when it is set; else
// Wayland then X11 in a Wayland session (except under GNOME, where X11 is
// the safer choice), otherwise X11, then Wayland when WAYLAND_DISPLAY is set.
std::vector<std::string> CandidatePlatforms(const PlatformEnvironment &environment);

// The first candidate that can be opened. Platforms that need no display
// (offscreen, minimal, vnc, ...) only need their plugin.
PlatformChoice ChoosePlatform(const PlatformEnvironment &environment, const PlatformProbes &probes);

} // namespace zor::host
