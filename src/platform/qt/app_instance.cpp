#include "app_instance.h"

#include "mapping/platform_choice.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLoggingCategory>

#include <xcb/xcb.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

extern char *program_invocation_short_name;

namespace zor::host {
namespace {

std::string Environment(const char *name)
{
    const char *value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string ProbeXServer()
{
    std::string display = Environment("DISPLAY");
    if (display.empty())
        return "DISPLAY is not set";
    xcb_connection_t *connection = xcb_connect(display.c_str(), nullptr);
    int error = xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    if (error != 0)
        return "cannot connect to the X server at DISPLAY=" + display;
    return {};
}

std::string ProbeWayland()
{
    std::string name = Environment("WAYLAND_DISPLAY");
    if (name.empty())
        return "WAYLAND_DISPLAY is not set";
    std::string path = name;
    if (path.front() != '/') {
        std::string runtime = Environment("XDG_RUNTIME_DIR");
        if (runtime.empty())
            return "XDG_RUNTIME_DIR is not set";
        path = runtime + "/" + name;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path))
        return "the socket path is too long";
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return "cannot create a socket";
    int result = ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address));
    ::close(fd);
    if (result != 0)
        return "no compositor at " + path;
    return {};
}

// Platform plugins are found in QT_QPA_PLATFORM_PLUGIN_PATH, in the
// "platforms" folder of each QT_PLUGIN_PATH entry, and in Qt's own plugin
// folder. Their file names are libq<name>.so, with the Wayland plugins as
// libqwayland-<variant>.so.
std::string ProbePlugin(const std::string &name)
{
    std::vector<QString> folders;
    std::string pluginPath = Environment("QT_QPA_PLATFORM_PLUGIN_PATH");
    if (!pluginPath.empty())
        folders.push_back(QString::fromLocal8Bit(pluginPath));
    for (const QString &entry : QString::fromLocal8Bit(Environment("QT_PLUGIN_PATH")).split(u':', Qt::SkipEmptyParts))
        folders.push_back(entry + QStringLiteral("/platforms"));
    folders.push_back(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));

    std::vector<QString> files;
    if (name == "wayland")
        files = {QStringLiteral("libqwayland-generic.so"), QStringLiteral("libqwayland-egl.so")};
    else
        files = {QStringLiteral("libq") + QString::fromStdString(name) + QStringLiteral(".so")};
    for (const QString &folder : folders) {
        for (const QString &file : files) {
            if (QFileInfo::exists(folder + QLatin1Char('/') + file))
                return {};
        }
    }
    return "the platform plugin is not installed";
}

PlatformEnvironment ReadPlatformEnvironment()
{
    PlatformEnvironment environment;
    environment.qpaPlatform = Environment("QT_QPA_PLATFORM");
    environment.sessionType = Environment("XDG_SESSION_TYPE");
    environment.currentDesktop = Environment("XDG_CURRENT_DESKTOP");
    environment.sessionDesktop = Environment("XDG_SESSION_DESKTOP");
    environment.waylandDisplaySet = !Environment("WAYLAND_DISPLAY").empty();
    return environment;
}

// Messages the toolkit prints about things that are fine for this program:
// features a platform lacks, and the runtime folder defaulting for root.
bool IsNoise(QtMsgType type, const QString &message)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return true;
    static const char *const kNoise[] = {
        "This plugin does not support",
        "XDG_RUNTIME_DIR",
        "propagateSizeHints",
    };
    for (const char *noise : kNoise) {
        if (message.contains(QLatin1String(noise)))
            return true;
    }
    return false;
}

void QuietMessageHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (IsNoise(type, message))
        return;
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, message.toLocal8Bit().constData());
    if (type == QtFatalMsg)
        std::abort();
}

struct OwnedApplication {
    int argc = 3;
    char name[32] = "zor-setup";
    char platformFlag[16] = "-platform";
    QByteArray platform;
    char *argv[4] = {nullptr, nullptr, nullptr, nullptr};
    QApplication *application = nullptr; // lives until the process ends
};

std::optional<std::string> g_failure;

} // namespace

QApplication *EnsureApplication(std::string *why)
{
    if (QCoreApplication *existing = QCoreApplication::instance()) {
        auto *application = qobject_cast<QApplication *>(existing);
        if (application == nullptr && why != nullptr)
            *why = "the running application has no widgets";
        if (application != nullptr)
            application->setQuitOnLastWindowClosed(false);
        return application;
    }
    if (g_failure) {
        if (why != nullptr)
            *why = *g_failure;
        return nullptr;
    }

    PlatformProbes probes{ProbeXServer, ProbeWayland, ProbePlugin};
    PlatformChoice choice = ChoosePlatform(ReadPlatformEnvironment(), probes);
    if (!choice.usable) {
        g_failure = "no display (" + choice.reason + ")";
        if (why != nullptr)
            *why = *g_failure;
        return nullptr;
    }

    // The application and its arguments stay until the process ends: the
    // toolkit's own globals go away in an order of their own at exit, and
    // the windows still open then are simply dropped with the process.
    static OwnedApplication *owned = new OwnedApplication;
    std::snprintf(owned->name, sizeof(owned->name), "%s", program_invocation_short_name);
    owned->platform = QByteArray::fromStdString(choice.platform);
    owned->argv[0] = owned->name;
    owned->argv[1] = owned->platformFlag;
    owned->argv[2] = owned->platform.data();
    qInstallMessageHandler(QuietMessageHandler);
    owned->application = new QApplication(owned->argc, owned->argv);
    owned->application->setQuitOnLastWindowClosed(false);
    return owned->application;
}

void ReportFailure(std::string_view call, std::string_view message)
{
    std::fprintf(stderr, "%s: %.*s: %.*s\n", program_invocation_short_name, static_cast<int>(call.size()), call.data(),
                 static_cast<int>(message.size()), message.data());
}

} // namespace zor::host

// Under LeakSanitizer: what the libraries below Qt keep until the process
// ends (the D-Bus connection of Qt's X11 platform, fontconfig's pattern
// caches) is not a leak of this program. The sanitizer looks this function up
// itself; it lives in this file so that every program that opens a window
// carries it.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libdbus-1.so\nleak:libfontconfig.so\n";
}
