// The real program on a real X display (Xvfb, started here): the screen shows
// the blue gradient, the credit line and the dialog; the dialog's buttons,
// clicked with the mouse, install or end setup.
//
// ZOR_SMOKE_SCREENSHOT=path keeps the checked screenshot as a PNG there.

#include "child_process.h"
#include "e2e_support.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <sstream>

#include <sys/wait.h>

namespace zor::e2e {
namespace {

using namespace std::chrono_literals;
using Environment = std::map<std::string, std::optional<std::string>>;

struct WindowBox {
    std::string id;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    long long area() const { return static_cast<long long>(width) * height; }
    int centreX() const { return x + width / 2; }
    int centreY() const { return y + height / 2; }
};

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

// The dialog template's client area and the centres of its buttons, in
// dialog units; the dialog is laid out in proportion to them.
constexpr double kDialogWidthDu = 171;
constexpr double kDialogHeightDu = 122;
constexpr double kContinueXDu = 32 + 52 / 2.0;
constexpr double kCancelXDu = 87 + 52 / 2.0;
constexpr double kButtonYDu = 100 + 15 / 2.0;

class VirtualDisplay {
  public:
    VirtualDisplay()
    {
        ChildOptions options;
        options.argv = {
            "Xvfb",      "-displayfd", "3",
            "-screen",   "0",          std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24",
            "-nolisten", "tcp",        "-noreset"};
        options.pipeFd = 3;
        server_ = std::make_unique<ChildProcess>(options);
        if (std::optional<std::string> number = server_->ReadPipeLine(30s); number && !number->empty())
            name_ = ":" + *number;
    }
    const std::string &name() const { return name_; }

  private:
    std::unique_ptr<ChildProcess> server_;
    std::string name_;
};

class SmokeTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite()
    {
        for (const char *tool : {"Xvfb", "xdotool", "import"}) {
            if (!FindProgram(tool)) {
                missing_ = std::string(tool) + " is not installed (packages xvfb, xdotool, imagemagick)";
                return;
            }
        }
        display_ = new VirtualDisplay;
    }
    static void TearDownTestSuite()
    {
        delete display_;
        display_ = nullptr;
    }

    void SetUp() override
    {
        if (!missing_.empty())
            GTEST_SKIP() << missing_;
        ASSERT_FALSE(display_->name().empty()) << "Xvfb did not start";
        std::filesystem::create_directory(drive_.path() / "Program Files");
        CopyDemoPayload(work_.path());
    }

    void TearDown() override
    {
        setup_.reset();
        if (std::optional<StartMarker> marker = ReadStartMarker(installFolder()))
            EndForeignProcess(marker->pid);
    }

    Environment XEnvironment() const
    {
        return {{"DISPLAY", display_->name()}, {"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", std::nullopt}};
    }

    void StartSetup()
    {
        ChildOptions options;
        options.argv = {SetupProgram().string()};
        options.directory = work_.path();
        options.stderrFile = work_.path() / "setup-stderr.txt";
        options.environment = XEnvironment();
        options.environment["ZOR_SETUP_DRIVE_C"] = drive_.path().string();
        options.environment["ZOR_DEMO_EXIT_AFTER_MS"] = "1000";
        setup_ = std::make_unique<ChildProcess>(options);
        ASSERT_TRUE(setup_->started());
    }

    std::vector<WindowBox> SetupWindows() const
    {
        std::vector<WindowBox> windows;
        CommandResult found =
            RunCommand({"xdotool", "search", "--onlyvisible", "--name", "^ZOR Setup$"}, XEnvironment());
        std::istringstream ids(found.output);
        std::string id;
        while (std::getline(ids, id)) {
            if (id.empty())
                continue;
            CommandResult geometry = RunCommand({"xdotool", "getwindowgeometry", "--shell", id}, XEnvironment());
            WindowBox box;
            box.id = id;
            std::istringstream fields(geometry.output);
            std::string field;
            while (std::getline(fields, field)) {
                std::size_t equals = field.find('=');
                if (equals == std::string::npos)
                    continue;
                std::string key = field.substr(0, equals);
                int value = std::atoi(field.c_str() + equals + 1);
                if (key == "X")
                    box.x = value;
                else if (key == "Y")
                    box.y = value;
                else if (key == "WIDTH")
                    box.width = value;
                else if (key == "HEIGHT")
                    box.height = value;
            }
            if (box.area() > 0)
                windows.push_back(box);
        }
        std::sort(windows.begin(), windows.end(),
                  [](const WindowBox &a, const WindowBox &b) { return a.area() > b.area(); });
        return windows;
    }

    // Waits for the backdrop and the dialog, largest first.
    std::vector<WindowBox> WaitForBackdropAndDialog()
    {
        std::vector<WindowBox> windows;
        PollUntil(
            [&] {
                windows = SetupWindows();
                return windows.size() >= 2 || setup_->Wait(0ms).has_value();
            },
            60s, 100ms);
        return windows;
    }

    QImage Screenshot() const
    {
        std::filesystem::path file = work_.path() / "screen.png";
        std::filesystem::remove(file);
        RunCommand({"import", "-window", "root", file.string()}, XEnvironment());
        return QImage(QString::fromStdString(file.string())).convertToFormat(QImage::Format_RGB32);
    }

    void Click(int x, int y) const
    {
        CommandResult clicked = RunCommand(
            {"xdotool", "mousemove", "--sync", std::to_string(x), std::to_string(y), "click", "1"}, XEnvironment());
        ASSERT_EQ(clicked.status, 0) << "xdotool could not click at " << x << "," << y;
    }

    void ClickDialogButton(const WindowBox &dialog, double xDu) const
    {
        Click(dialog.x + static_cast<int>(dialog.width * xDu / kDialogWidthDu),
              dialog.y + static_cast<int>(dialog.height * kButtonYDu / kDialogHeightDu));
    }

    std::filesystem::path installFolder() const { return drive_.path() / "Program Files" / "ZOR"; }

    std::string SetupErrors() const { return ReadFile(work_.path() / "setup-stderr.txt").value_or(""); }

    static inline VirtualDisplay *display_ = nullptr;
    static inline std::string missing_;
    TempFolder work_{"zor-smoke"};
    TempFolder drive_{"zor-drive-c"};
    std::unique_ptr<ChildProcess> setup_;
};

bool IsPureBlue(QRgb pixel)
{
    return qRed(pixel) <= 3 && qGreen(pixel) <= 3 && qBlue(pixel) >= 252;
}

int CountPixels(const QImage &image, int left, int top, int right, int bottom, bool (*test)(QRgb))
{
    int count = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, image.height()); y++) {
        for (int x = std::max(left, 0); x < std::min(right, image.width()); x++)
            count += test(image.pixel(x, y)) ? 1 : 0;
    }
    return count;
}

TEST_F(SmokeTest, ScreenShowsGradientCreditLineAndDialogAndContinueInstalls)
{
    std::filesystem::create_directory(installFolder());
    StartSetup();
    std::vector<WindowBox> windows = WaitForBackdropAndDialog();
    ASSERT_GE(windows.size(), 2u) << "setup windows did not appear; setup said: " << SetupErrors();
    const WindowBox backdrop = windows.front();
    const WindowBox dialog = windows.back();

    // The backdrop is maximized over the whole screen.
    EXPECT_EQ(backdrop.x, 0);
    EXPECT_EQ(backdrop.y, 0);
    EXPECT_EQ(backdrop.width, kScreenWidth);
    EXPECT_EQ(backdrop.height, kScreenHeight);

    // Wait until the backdrop has been painted: the top right corner is blue.
    QImage screen;
    ASSERT_TRUE(PollUntil(
        [&] {
            screen = Screenshot();
            return !screen.isNull() && IsPureBlue(screen.pixel(backdrop.x + backdrop.width - 4, backdrop.y + 2));
        },
        30s, 200ms))
        << "the backdrop was never painted blue";
    if (const char *keep = std::getenv("ZOR_SMOKE_SCREENSHOT"); keep != nullptr && *keep != '\0')
        EXPECT_TRUE(screen.save(QString::fromLocal8Bit(keep), "PNG")) << "cannot save " << keep;

    // The first band is pure blue across the width, right of the banner.
    for (int y = backdrop.y; y < backdrop.y + 8; y++) {
        for (int x = backdrop.x + 800; x < backdrop.x + backdrop.width; x += 37)
            EXPECT_TRUE(IsPureBlue(screen.pixel(x, y))) << "at " << x << "," << y;
    }
    // Down the left edge, below the banner and beside the dialog, the blue
    // darkens band by band and never reaches black.
    int previousBlue = 256;
    for (int y = backdrop.y + 96; y < backdrop.y + backdrop.height; y += 16) {
        QRgb pixel = screen.pixel(backdrop.x + 4, y);
        EXPECT_LE(qRed(pixel), 3) << "at row " << y;
        EXPECT_LE(qGreen(pixel), 3) << "at row " << y;
        EXPECT_LE(qBlue(pixel), previousBlue) << "at row " << y;
        previousBlue = qBlue(pixel);
    }
    EXPECT_LT(previousBlue, 64);
    EXPECT_GT(previousBlue, 0);
    QRgb lower = screen.pixel(backdrop.x + 4, backdrop.y + backdrop.height * 3 / 4);
    EXPECT_LT(qBlue(lower), 128);

    // The credit line: white letters over their black shadow near the top left.
    auto white = [](QRgb p) { return qRed(p) >= 240 && qGreen(p) >= 240 && qBlue(p) >= 240; };
    auto black = [](QRgb p) { return qRed(p) <= 15 && qGreen(p) <= 15 && qBlue(p) <= 15; };
    EXPECT_GE(CountPixels(screen, backdrop.x + 10, backdrop.y + 10, backdrop.x + 700, backdrop.y + 70, white), 200);
    EXPECT_GE(CountPixels(screen, backdrop.x + 10, backdrop.y + 10, backdrop.x + 700, backdrop.y + 70, black), 100);
    EXPECT_EQ(CountPixels(screen, backdrop.x + 10, backdrop.y + 120, backdrop.x + 300, backdrop.y + 200, white), 0);

    // The dialog: a grey window centred on the screen, with dark text on it.
    EXPECT_NEAR(dialog.centreX(), kScreenWidth / 2, 8);
    EXPECT_NEAR(dialog.centreY(), kScreenHeight / 2, 8);
    EXPECT_LT(dialog.width, kScreenWidth / 2);
    auto grey = [](QRgb p) {
        return qRed(p) >= 150 && std::abs(qRed(p) - qGreen(p)) <= 12 && std::abs(qGreen(p) - qBlue(p)) <= 12;
    };
    auto dark = [](QRgb p) { return qRed(p) < 100 && qGreen(p) < 100 && qBlue(p) < 100; };
    const int dialogPixels = dialog.width * dialog.height;
    EXPECT_GE(CountPixels(screen, dialog.x, dialog.y, dialog.x + dialog.width, dialog.y + dialog.height, grey),
              dialogPixels * 3 / 4);
    EXPECT_GE(CountPixels(screen, dialog.x, dialog.y, dialog.x + dialog.width, dialog.y + dialog.height, dark), 50);
    EXPECT_EQ(CountPixels(screen, dialog.x, dialog.y, dialog.x + dialog.width, dialog.y + dialog.height, IsPureBlue),
              0);

    // Continue: the folder exists, so setup installs at once, starts ZOR and
    // ends with exit code 0.
    ClickDialogButton(dialog, kContinueXDu);
    std::optional<int> status = setup_->Wait(60s);
    ASSERT_TRUE(status.has_value()) << "setup did not end after Continue";
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0) << SetupErrors();

    std::optional<StartMarker> marker;
    ASSERT_TRUE(PollUntil([&] { return (marker = ReadStartMarker(installFolder())).has_value(); }, 60s))
        << "the installed ZOR did not start";
    EXPECT_EQ(std::filesystem::path(marker->executable), installFolder() / "ZOR.exe");
    EXPECT_EQ(std::filesystem::path(marker->directory), installFolder());

    EXPECT_EQ(ListFiles(installFolder()), "ZOR.cnt\nZOR.exe\nZOR.hlp\nzor-started.txt\n");
    EXPECT_EQ(ReadFile(installFolder() / "ZOR.exe"), ReadFile(DemoProgram()));
    EXPECT_EQ(ReadFile(installFolder() / "ZOR.hlp"), ReadFile(DemoSourceFolder() / "ZOR.hlp"));
    EXPECT_EQ(ReadFile(installFolder() / "ZOR.cnt"), ReadFile(DemoSourceFolder() / "ZOR.cnt"));
}

TEST_F(SmokeTest, CancelThenYesEndsSetupWithNothingWritten)
{
    StartSetup();
    std::vector<WindowBox> windows = WaitForBackdropAndDialog();
    ASSERT_GE(windows.size(), 2u) << "setup windows did not appear; setup said: " << SetupErrors();
    const WindowBox dialog = windows.back();
    ClickDialogButton(dialog, kCancelXDu);

    // The question comes up as a third window with the setup caption.
    std::vector<WindowBox> now;
    ASSERT_TRUE(PollUntil([&] { return (now = SetupWindows()).size() >= 3; }, 30s)) << "Cancel asked nothing";
    const WindowBox *question = nullptr;
    for (const WindowBox &window : now) {
        if (window.id != windows.front().id && window.id != dialog.id)
            question = &window;
    }
    ASSERT_NE(question, nullptr);
    // Y is the Yes button's key in the question box.
    RunCommand(
        {"xdotool", "mousemove", "--sync", std::to_string(question->centreX()), std::to_string(question->centreY())},
        XEnvironment());
    RunCommand({"xdotool", "key", "--window", question->id, "y"}, XEnvironment());

    std::optional<int> status = setup_->Wait(60s);
    ASSERT_TRUE(status.has_value()) << "setup did not end after Yes";
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0) << SetupErrors();
    EXPECT_EQ(ListFiles(drive_.path()), "");
    EXPECT_FALSE(std::filesystem::exists(installFolder()));
}

} // namespace
} // namespace zor::e2e
