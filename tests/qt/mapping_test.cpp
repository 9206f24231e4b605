// The Qt host's pure rules, without Qt: UTF-8 cuts, dialog units, message-box
// layouts, GDI mappings and tables, the message queue, window classes, window
// styles and the choice of windowing platform.
#include "mapping/dialog_units.h"
#include "mapping/gdi_mapping.h"
#include "mapping/gdi_objects.h"
#include "mapping/message_box_style.h"
#include "mapping/message_queue.h"
#include "mapping/platform_choice.h"
#include "mapping/utf8_text.h"
#include "mapping/window_classes.h"
#include "mapping/window_style.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace zor::host {
namespace {

// ---- UTF-8 cuts -----------------------------------------------------------

TEST(Utf8Cut, KeepsWholeCharactersOnly)
{
    // "aé€😀": 1 + 2 + 3 + 4 bytes.
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    struct Case {
        std::size_t maxBytes;
        std::size_t expected;
    };
    const Case cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 3}, {4, 3},   {5, 3},
                          {6, 6}, {7, 6}, {8, 6}, {9, 6}, {10, 10}, {11, 10}};
    for (const Case &c : cases)
        EXPECT_EQ(Utf8PrefixLength(text, c.maxBytes), c.expected) << "max " << c.maxBytes;
}

TEST(Utf8Cut, MalformedBytesCountAsCharacters)
{
    // Stray continuation bytes are cut anywhere; a lead byte whose sequence
    // is complete before the cut stays.
    EXPECT_EQ(Utf8PrefixLength("\x80\x80\x80\x80\x80", 3), 3u);
    EXPECT_EQ(Utf8PrefixLength("\xC3\xA9\x80\x80", 3), 3u);
    // A truncated sequence at the cut is left out whole.
    EXPECT_EQ(Utf8PrefixLength("ab\xE2\x82", 3), 2u);
}

TEST(Utf8Cut, CopyTerminatesWithinCapacity)
{
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(CopyUtf8Cut(buffer, 5, "ab\xE2\x82\xAC"), 2u); // 4 bytes allowed; the euro sign needs 5
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(buffer[3], 'x'); // nothing written past the terminator

    EXPECT_EQ(CopyUtf8Cut(buffer, 6, "ab\xE2\x82\xAC"), 5u);
    EXPECT_STREQ(buffer, "ab\xE2\x82\xAC");

    buffer[0] = 'x';
    EXPECT_EQ(CopyUtf8Cut(buffer, 0, "ab"), 0u);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(CopyUtf8Cut(buffer, 1, "ab"), 0u);
    EXPECT_EQ(buffer[0], '\0');
}

// ---- Dialog units ----------------------------------------------------------

TEST(DialogUnits, BaseUnitsAreTheRoundedAverageLetterWidth)
{
    // 52 letters 312 pixels wide: 6 pixels each; 338 pixels: 6.5, rounded up.
    EXPECT_EQ(BaseUnitsFromFont(312, 13).x, 6);
    EXPECT_EQ(BaseUnitsFromFont(338, 13).x, 7);
    EXPECT_EQ(BaseUnitsFromFont(337, 13).x, 6);
    EXPECT_EQ(BaseUnitsFromFont(312, 13).y, 13);
}

TEST(DialogUnits, MulDivRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(MulDiv(10, 3, 4), 8);                  // 7.5
    EXPECT_EQ(MulDiv(-10, 3, 4), -8);                // -7.5
    EXPECT_EQ(MulDiv(7, 3, 4), 5);                   // 5.25
    EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000); // no overflow in between
    EXPECT_EQ(MulDiv(1, 2, 0), -1);
}

TEST(DialogUnits, TheSetupDialogInAWellKnownFont)
{
    // Base units 6 x 13 (an 8-point face at 96 dpi).
    DialogBaseUnits units{6, 13};
    PixelRect client = MapDialogRect(0, 0, 171, 122, units);
    EXPECT_EQ(client.Width(), 257);  // 171 * 6 / 4 = 256.5
    EXPECT_EQ(client.Height(), 198); // 122 * 13 / 8 = 198.25

    // Edges are mapped on their own: the edit (7,80 112x12) and the Browse
    // button (121,80 43x12) share no pixel and leave the same gap.
    PixelRect edit = MapDialogRect(7, 80, 112, 12, units);
    PixelRect browse = MapDialogRect(121, 80, 43, 12, units);
    EXPECT_EQ(edit.left, 11);
    EXPECT_EQ(edit.top, 130);
    EXPECT_EQ(edit.right, 179);
    EXPECT_EQ(edit.bottom, 150);
    EXPECT_EQ(browse.left, 182);
    EXPECT_LT(edit.right, browse.left);
}

TEST(DialogUnits, CentreIn)
{
    PixelPoint corner = CentreIn({0, 0, 1024, 768}, 257, 198);
    EXPECT_EQ(corner.x, 383);
    EXPECT_EQ(corner.y, 285);
    corner = CentreIn({100, 50, 300, 150}, 100, 40);
    EXPECT_EQ(corner.x, 150);
    EXPECT_EQ(corner.y, 80);
}

// ---- Message-box styles ----------------------------------------------------

TEST(MessageBoxStyle, StylesTheProgramUses)
{
    MessageBoxLayout error = LayoutForStyle(0x10);
    EXPECT_EQ(error.icon, MessageBoxIcon::Error);
    EXPECT_EQ(error.buttons, std::vector<int>({IDOK}));
    EXPECT_EQ(error.escapeAnswer, IDOK);

    MessageBoxLayout question = LayoutForStyle(0x24);
    EXPECT_EQ(question.icon, MessageBoxIcon::Question);
    EXPECT_EQ(question.buttons, std::vector<int>({IDYES, IDNO}));
    EXPECT_EQ(question.defaultButton, IDYES);
    EXPECT_EQ(question.escapeAnswer, IDNO);

    MessageBoxLayout warning = LayoutForStyle(0x34);
    EXPECT_EQ(warning.icon, MessageBoxIcon::Warning);
    EXPECT_EQ(warning.buttons, std::vector<int>({IDYES, IDNO}));
    EXPECT_EQ(UnansweredResult(warning), IDNO);
}

TEST(MessageBoxStyle, EveryTypeAndIcon)
{
    struct Case {
        unsigned style;
        std::vector<int> buttons;
        int escape;
        MessageBoxIcon icon;
    };
    const Case cases[] = {
        {MB_OK, {IDOK}, IDOK, MessageBoxIcon::None},
        {MB_OKCANCEL | MB_ICONINFORMATION, {IDOK, IDCANCEL}, IDCANCEL, MessageBoxIcon::Information},
        {MB_ABORTRETRYIGNORE, {IDABORT, IDRETRY, IDIGNORE}, 0, MessageBoxIcon::None},
        {MB_YESNOCANCEL | MB_ICONWARNING, {IDYES, IDNO, IDCANCEL}, IDCANCEL, MessageBoxIcon::Warning},
        {MB_RETRYCANCEL | MB_ICONSTOP, {IDRETRY, IDCANCEL}, IDCANCEL, MessageBoxIcon::Error},
        {MB_CANCELTRYCONTINUE, {IDCANCEL, IDTRYAGAIN, IDCONTINUE}, IDCANCEL, MessageBoxIcon::None},
        {0x0F | 0x50, {IDOK}, IDOK, MessageBoxIcon::None}, // unknown type and icon
    };
    for (const Case &c : cases) {
        MessageBoxLayout layout = LayoutForStyle(c.style);
        EXPECT_EQ(layout.buttons, c.buttons) << std::hex << c.style;
        EXPECT_EQ(layout.escapeAnswer, c.escape) << std::hex << c.style;
        EXPECT_EQ(layout.icon, c.icon) << std::hex << c.style;
    }
    // A box that cannot be dismissed answers with its default when unanswered.
    EXPECT_EQ(UnansweredResult(LayoutForStyle(MB_ABORTRETRYIGNORE | MB_DEFBUTTON3)), IDIGNORE);
}

TEST(MessageBoxStyle, DefaultButton)
{
    EXPECT_EQ(LayoutForStyle(MB_YESNOCANCEL | MB_DEFBUTTON2).defaultButton, IDNO);
    EXPECT_EQ(LayoutForStyle(MB_YESNOCANCEL | MB_DEFBUTTON3).defaultButton, IDCANCEL);
    // Beyond the last button: the first.
    EXPECT_EQ(LayoutForStyle(MB_YESNO | MB_DEFBUTTON3).defaultButton, IDYES);
}

// ---- GDI -------------------------------------------------------------------

TEST(GdiMapping, ColoursPensAndWeights)
{
    EXPECT_EQ(RgbOf(RGB(1, 2, 3)), (Rgb{1, 2, 3}));
    EXPECT_EQ(RgbOf(0x00FF0000), (Rgb{0, 0, 255})); // 0x00BBGGRR: pure blue
    EXPECT_EQ(PenPixelWidth(0), 1);
    EXPECT_EQ(PenPixelWidth(-3), 1);
    EXPECT_EQ(PenPixelWidth(16), 16);
    EXPECT_FALSE(PenHasRoundEnds(1));
    EXPECT_TRUE(PenHasRoundEnds(16));
    EXPECT_EQ(FontWeight(FW_DONTCARE), 400);
    EXPECT_EQ(FontWeight(FW_BOLD), 700);
    EXPECT_EQ(FontWeight(5000), 1000);
}

TEST(GdiMapping, FontDescriptions)
{
    EXPECT_EQ(FontFamilyOf(VARIABLE_PITCH), FontFamily::SansSerif);
    EXPECT_EQ(FontFamilyOf(VARIABLE_PITCH | FF_ROMAN), FontFamily::Serif);
    EXPECT_EQ(FontFamilyOf(FIXED_PITCH | FF_MODERN), FontFamily::Monospace);
    EXPECT_TRUE(FontFixedPitch(FIXED_PITCH | FF_MODERN));
    EXPECT_FALSE(FontFixedPitch(VARIABLE_PITCH));
    EXPECT_EQ(FontSmoothingOf(PROOF_QUALITY), FontSmoothing::Antialiased);
    EXPECT_EQ(FontSmoothingOf(NONANTIALIASED_QUALITY), FontSmoothing::Aliased);
    EXPECT_EQ(FontSmoothingOf(DEFAULT_QUALITY), FontSmoothing::Default);
    EXPECT_TRUE(FontWantsOutline(OUT_TT_ONLY_PRECIS));
    EXPECT_FALSE(FontWantsOutline(OUT_DEFAULT_PRECIS));
}

TEST(GdiMapping, FontPixelSize)
{
    // A face whose cell is 1.2 em: a 36-pixel cell is a 30-pixel face.
    EXPECT_EQ(FontPixelSize(36, 100, 120.0, 16), 30);
    EXPECT_EQ(FontPixelSize(-36, 100, 120.0, 16), 36); // character height: the size itself
    EXPECT_EQ(FontPixelSize(0, 100, 120.0, 16), 16);
    EXPECT_EQ(FontPixelSize(1, 100, 120.0, 16), 1);
    EXPECT_EQ(BaselineForTop(20, 33), 53);
}

TEST(GdiObjects, StockObjectsStayAndSelectionSwaps)
{
    GdiTable objects;
    HGDIOBJ white = objects.Stock(WHITE_BRUSH);
    ASSERT_NE(white, nullptr);
    EXPECT_TRUE(objects.IsStock(white));
    EXPECT_TRUE(objects.Delete(white)); // harmless
    EXPECT_NE(objects.Find(white), nullptr);
    EXPECT_FALSE(objects.Delete(nullptr));
    EXPECT_EQ(objects.Stock(99), nullptr);

    HGDIOBJ pen = objects.Add(PenObject{PS_SOLID, 16, RGB(0, 0, 255)});
    HGDIOBJ font = objects.Add(FontObject{});
    DeviceContextTable contexts;
    HDC dc = contexts.Open(nullptr, objects);
    DeviceContextState *state = contexts.Find(dc);
    ASSERT_NE(state, nullptr);

    EXPECT_EQ(SelectInto(*state, objects, pen), objects.Stock(BLACK_PEN));
    EXPECT_EQ(SelectInto(*state, objects, font), objects.Stock(SYSTEM_FONT));
    EXPECT_EQ(SelectInto(*state, objects, objects.Stock(WHITE_PEN)), pen);
    EXPECT_EQ(state->font, font); // a pen does not touch the font
    EXPECT_EQ(SelectInto(*state, objects, reinterpret_cast<HGDIOBJ>(0x1234)), nullptr);

    EXPECT_TRUE(objects.Delete(pen));
    EXPECT_FALSE(objects.Delete(pen));
    objects.Clear();
    EXPECT_EQ(objects.Find(font), nullptr);
    EXPECT_NE(objects.Find(white), nullptr);

    EXPECT_TRUE(contexts.Close(dc));
    EXPECT_FALSE(contexts.Close(dc));
}

// ---- Message queue ---------------------------------------------------------

MSG Message(HWND hwnd, UINT message, WPARAM wParam = 0)
{
    MSG m{};
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = wParam;
    return m;
}

TEST(MessageQueue, QuitComesAfterThePostedMessages)
{
    MessageQueue queue;
    HWND a = reinterpret_cast<HWND>(0x10);
    queue.Post(Message(a, WM_COMMAND, 1));
    queue.PostQuit(3);
    queue.Post(Message(a, WM_COMMAND, 2));

    auto first = queue.Take(nullptr, 0, 0, {});
    auto second = queue.Take(nullptr, 0, 0, {});
    auto quit = queue.Take(nullptr, 0, 0, {});
    ASSERT_TRUE(first && second && quit);
    EXPECT_EQ(first->wParam, 1u);
    EXPECT_EQ(second->wParam, 2u);
    EXPECT_EQ(quit->message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(quit->wParam, 3u);
    EXPECT_FALSE(queue.Take(nullptr, 0, 0, {})); // the quit message is taken once
}

TEST(MessageQueue, FiltersByWindowAndRange)
{
    MessageQueue queue;
    HWND parent = reinterpret_cast<HWND>(0x10);
    HWND child = reinterpret_cast<HWND>(0x14);
    HWND other = reinterpret_cast<HWND>(0x18);
    auto belongs = [&](HWND target, HWND filter) { return target == child && filter == parent; };
    queue.Post(Message(other, WM_CLOSE));
    queue.Post(Message(child, WM_COMMAND));
    queue.Post(Message(parent, WM_USER));

    auto fromParent = queue.Take(parent, 0, 0, belongs);
    ASSERT_TRUE(fromParent);
    EXPECT_EQ(fromParent->hwnd, child);
    auto ranged = queue.Take(nullptr, WM_USER, WM_USER + 10, belongs);
    ASSERT_TRUE(ranged);
    EXPECT_EQ(ranged->message, static_cast<UINT>(WM_USER));
    EXPECT_EQ(queue.PostedCount(), 1u);

    // Peeking leaves the message; a destroyed window's messages go.
    EXPECT_TRUE(queue.Peek(nullptr, 0, 0, belongs));
    queue.DropMessagesFor(other);
    EXPECT_EQ(queue.PostedCount(), 0u);
}

TEST(MessageQueue, FilteredLoopStillSeesQuit)
{
    MessageQueue queue;
    HWND a = reinterpret_cast<HWND>(0x10);
    HWND b = reinterpret_cast<HWND>(0x14);
    queue.Post(Message(b, WM_COMMAND));
    queue.PostQuit(0);
    auto taken = queue.Take(a, 0, 0, {});
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(queue.PostedCount(), 1u);
}

// ---- Window classes --------------------------------------------------------

LRESULT CALLBACK NoProc(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

TEST(WindowClasses, RegisterFindUnregister)
{
    ClassRegistry classes;
    WNDCLASSEXA record{};
    record.cbSize = sizeof record;
    record.lpfnWndProc = NoProc;
    record.lpszClassName = "ZOR Setup";
    record.style = CS_HREDRAW | CS_VREDRAW;
    ATOM atom = classes.Register(record);
    ASSERT_NE(atom, 0);
    EXPECT_EQ(classes.Register(record), 0); // already there

    const WindowClass *byName = classes.Find("zor setup");
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(byName->style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(classes.Find(MAKEINTRESOURCEA(atom)), byName);
    EXPECT_EQ(classes.Find("ZOR"), nullptr);

    EXPECT_FALSE(classes.Unregister("ZOR Setup", [](const WindowClass &) { return true; }));
    EXPECT_TRUE(classes.Unregister("ZOR SETUP", [](const WindowClass &) { return false; }));
    EXPECT_EQ(classes.Find("ZOR Setup"), nullptr);
    EXPECT_FALSE(classes.Unregister("ZOR Setup", {}));
}

TEST(WindowClasses, IncompleteRecordsAreRefused)
{
    ClassRegistry classes;
    WNDCLASSEXA record{};
    record.cbSize = sizeof record;
    record.lpfnWndProc = NoProc;
    record.lpszClassName = "A";

    WNDCLASSEXA wrongSize = record;
    wrongSize.cbSize = 40;
    WNDCLASSEXA noProc = record;
    noProc.lpfnWndProc = nullptr;
    WNDCLASSEXA noName = record;
    noName.lpszClassName = nullptr;
    WNDCLASSEXA emptyName = record;
    emptyName.lpszClassName = "";
    for (const WNDCLASSEXA &bad : {wrongSize, noProc, noName, emptyName})
        EXPECT_EQ(classes.Register(bad), 0);
}

// ---- Window styles ---------------------------------------------------------

TEST(WindowStyle, FrameHints)
{
    FrameHints overlapped = FrameHintsForStyle(WS_OVERLAPPEDWINDOW);
    EXPECT_TRUE(overlapped.title && overlapped.systemMenu && overlapped.minimizeButton && overlapped.maximizeButton &&
                overlapped.resizable);

    // The setup dialog: a caption and nothing else, so no close button.
    FrameHints dialog = FrameHintsForStyle(0x90C00AC0);
    EXPECT_TRUE(dialog.title);
    EXPECT_FALSE(dialog.systemMenu || dialog.minimizeButton || dialog.maximizeButton || dialog.resizable);

    // Minimize and maximize boxes show only with the system menu.
    FrameHints noMenu = FrameHintsForStyle(WS_CAPTION | WS_MINIMIZEBOX);
    EXPECT_FALSE(noMenu.minimizeButton);

    // A border without the dialog frame is no caption.
    EXPECT_TRUE(FrameHintsForStyle(WS_POPUP | WS_BORDER).frameless);
}

TEST(WindowStyle, CreateGeometry)
{
    PixelRect work{0, 0, 1024, 768};
    CreateGeometry defaults = ResolveCreateGeometry(CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, work);
    EXPECT_FALSE(defaults.placed);
    EXPECT_EQ(defaults.width, 768);
    EXPECT_EQ(defaults.height, 576);

    CreateGeometry given = ResolveCreateGeometry(10, 20, 300, 200, work);
    EXPECT_TRUE(given.placed);
    EXPECT_EQ(given.x, 10);
    EXPECT_EQ(given.y, 20);
    EXPECT_EQ(given.width, 300);
    EXPECT_EQ(given.height, 200);

    // A default width makes the height default too, whatever was given.
    CreateGeometry half = ResolveCreateGeometry(5, 5, CW_USEDEFAULT, 100, work);
    EXPECT_EQ(half.height, 576);
    EXPECT_EQ(ResolveCreateGeometry(0, 0, 0, 0, work).width, 1);
}

TEST(WindowStyle, StaticTextMnemonics)
{
    EXPECT_EQ(StaticDisplayText("&Folder", false), "Folder");
    EXPECT_EQ(StaticDisplayText("Fish && Chips", false), "Fish & Chips");
    EXPECT_EQ(StaticDisplayText("end&", false), "end");
    EXPECT_EQ(StaticDisplayText("&&&x", false), "&x");
    EXPECT_EQ(StaticDisplayText("Fish && Chips", true), "Fish && Chips");
}

// ---- Platform choice -------------------------------------------------------

struct World {
    bool xServer = false;
    bool wayland = false;
    std::map<std::string, bool> plugins = {{"xcb", true}, {"offscreen", true}, {"minimal", true}};

    PlatformProbes Probes() const
    {
        return PlatformProbes{[this] { return xServer ? std::string() : std::string("no X server"); },
                              [this] { return wayland ? std::string() : std::string("no compositor"); },
                              [this](const std::string &name) {
                                  auto found = plugins.find(name);
                                  return found != plugins.end() && found->second ? std::string()
                                                                                 : std::string("not installed");
                              }};
    }
};

TEST(PlatformChoice, Candidates)
{
    PlatformEnvironment environment;
    EXPECT_EQ(CandidatePlatforms(environment), std::vector<std::string>({"xcb"}));
    environment.waylandDisplaySet = true;
    EXPECT_EQ(CandidatePlatforms(environment), std::vector<std::string>({"xcb", "wayland"}));
    environment.sessionType = "wayland";
    EXPECT_EQ(CandidatePlatforms(environment), std::vector<std::string>({"wayland", "xcb"}));
    environment.currentDesktop = "ubuntu:GNOME";
    EXPECT_EQ(CandidatePlatforms(environment), std::vector<std::string>({"xcb", "wayland"}));
    environment.qpaPlatform = "wayland;xcb:foo=1;;offscreen";
    EXPECT_EQ(CandidatePlatforms(environment), std::vector<std::string>({"wayland", "xcb:foo=1", "offscreen"}));
}

TEST(PlatformChoice, FirstReachablePlatformWins)
{
    struct Case {
        const char *name;
        std::string qpa;
        bool xServer;
        bool wayland;
        bool waylandPlugin;
        bool usable;
        std::string platform;
    };
    const Case cases[] = {
        {"offscreen needs no display", "offscreen", false, false, false, true, "offscreen"},
        {"arguments are kept", "offscreen:fontengine=freetype", false, false, false, true,
         "offscreen:fontengine=freetype"},
        {"xcb with a server", "xcb", true, false, false, true, "xcb"},
        {"xcb without a server", "xcb", false, false, false, false, ""},
        {"upper case names", "XCB", true, false, false, true, "XCB"},
        {"wayland without its plugin", "wayland", false, true, false, false, ""},
        {"wayland with plugin and compositor", "wayland", false, true, true, true, "wayland"},
        {"fallback list", "wayland;xcb;minimal", false, false, true, true, "minimal"},
        {"unknown plugin", "nosuchplatform", true, true, true, false, ""},
        {"unset: the X server", "", true, false, false, true, "xcb"},
        {"unset: nothing", "", false, false, false, false, ""},
    };
    for (const Case &c : cases) {
        World world;
        world.xServer = c.xServer;
        world.wayland = c.wayland;
        world.plugins["wayland"] = c.waylandPlugin;
        PlatformEnvironment environment;
        environment.qpaPlatform = c.qpa;
        PlatformChoice choice = ChoosePlatform(environment, world.Probes());
        EXPECT_EQ(choice.usable, c.usable) << c.name;
        EXPECT_EQ(choice.platform, c.platform) << c.name;
        EXPECT_EQ(choice.reason.empty(), c.usable) << c.name;
    }
}

TEST(PlatformChoice, TheReasonNamesEachPlatformTried)
{
    World world;
    world.plugins["wayland"] = false;
    PlatformEnvironment environment;
    environment.waylandDisplaySet = true;
    PlatformChoice choice = ChoosePlatform(environment, world.Probes());
    ASSERT_FALSE(choice.usable);
    EXPECT_EQ(choice.reason, "xcb: no X server; wayland: not installed");
    EXPECT_EQ(choice.reason.find('\n'), std::string::npos);
}

} // namespace
} // namespace zor::host
