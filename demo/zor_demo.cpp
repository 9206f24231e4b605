// Stand-in for the installed ZOR program on Linux.
//
// It records where it was started: "zor-started.txt" in its current directory
// holds three lines, its executable's path, its current directory and its
// process id. Its window shows the first two. It stays open until it is
// closed, or closes by itself after ZOR_DEMO_EXIT_AFTER_MS milliseconds when
// that variable is set.

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

constexpr char kMarkerFile[] = "zor-started.txt";

std::string ExecutablePath()
{
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::string CurrentDirectory()
{
    std::error_code error;
    std::filesystem::path path = std::filesystem::current_path(error);
    return error ? std::string() : path.string();
}

// Written under a temporary name and renamed, so that whoever waits for the
// marker never reads half of it.
bool WriteMarker(const std::string &executable, const std::string &directory)
{
    const std::string partial = std::string(kMarkerFile) + ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << executable << '\n' << directory << '\n' << ::getpid() << '\n';
        if (!out.flush())
            return false;
    }
    std::error_code error;
    std::filesystem::rename(partial, kMarkerFile, error);
    return !error;
}

std::optional<int> ExitDelayMs()
{
    const char *value = std::getenv("ZOR_DEMO_EXIT_AFTER_MS");
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    char *end = nullptr;
    long ms = std::strtol(value, &end, 10);
    if (*end != '\0' || ms < 0 || ms > 24L * 60 * 60 * 1000)
        return std::nullopt;
    return static_cast<int>(ms);
}

} // namespace

int main(int argc, char **argv)
{
    const std::string executable = ExecutablePath();
    const std::string directory = CurrentDirectory();
    if (!WriteMarker(executable, directory))
        std::fprintf(stderr, "ZOR: cannot write %s in %s\n", kMarkerFile, directory.c_str());

    QApplication app(argc, argv);

    QWidget window;
    window.setWindowTitle(QStringLiteral("ZOR"));
    auto *layout = new QVBoxLayout(&window);
    auto *heading = new QLabel(QStringLiteral("<b>ZOR is installed.</b>"));
    auto *installed = new QLabel(QStringLiteral("Installed at: %1").arg(QString::fromStdString(executable)));
    auto *started = new QLabel(QStringLiteral("Started from: %1").arg(QString::fromStdString(directory)));
    for (QLabel *label : {heading, installed, started}) {
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(label);
    }
    window.show();

    if (std::optional<int> delay = ExitDelayMs())
        QTimer::singleShot(*delay, &app, &QApplication::quit);

    return app.exec();
}
