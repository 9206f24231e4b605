// The peer of the startup benchmark: a bare Qt Widgets program that shows one
// maximized window (as the setup program shows its backdrop), lets Qt finish the pending paints, writes the moment to
// standard output and exits.

#include "startup_clock.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.showMaximized();
    QCoreApplication::processEvents();
    zor::bench::ReportShown();
    return 0;
}
