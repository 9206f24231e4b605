// USER32: system metrics.

#include "app_instance.h"

#include "src/platform/api/user32.h"
#include "src/platform/host_script.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>

extern "C" int WINAPI GetSystemMetrics(int nIndex)
{
    using namespace zor::host;
    if (nIndex == SM_CYCAPTION) {
        if (Script *script = CurrentScript(); script != nullptr && script->captionHeight)
            return *script->captionHeight;
    }
    if (EnsureApplication() == nullptr)
        return 0;
    QScreen *screen = QGuiApplication::primaryScreen();
    switch (nIndex) {
    case SM_CXSCREEN:
        return screen == nullptr ? 0 : screen->geometry().width();
    case SM_CYSCREEN:
        return screen == nullptr ? 0 : screen->geometry().height();
    case SM_CYCAPTION:
        // The height of a title bar as the widget style draws one.
        return QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    default:
        return 0;
    }
}
