// The peer of the startup benchmark: a bare Qt Widgets program that shows one
// window, lets Qt finish the pending paints, writes the moment to standard
// output and exits.

#include "startup_clock.h"

#include <QApplication>
#include <QWidget>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.resize(320, 240);
    window.show();
    QCoreApplication::processEvents();
    std::printf("shown %lld\n", static_cast<long long>(zor::bench::MonotonicNs()));
    std::fflush(stdout);
    return 0;
}
