// Screenshots of an X display for the acceptance test (runs on the xcb platform, DISPLAY set):
//   velmora_xprobe shot FILE.png [X Y W H]   the screen, or a rectangle of it, as a PNG
// A separate process, because the test itself lays the window out on the offscreen platform.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstring>
#include <cstdlib>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc >= 3 && std::strcmp(argv[1], "shot") == 0) {
        QScreen* pScreen = QGuiApplication::primaryScreen();
        QPixmap pixmap = argc >= 7 ? pScreen->grabWindow(0, std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                                                         std::atoi(argv[6]))
                                   : pScreen->grabWindow(0);
        if (pixmap.isNull() || !pixmap.toImage().save(QString::fromLocal8Bit(argv[2]), "PNG")) {
            std::fprintf(stderr, "velmora_xprobe: could not grab the screen into %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    std::fprintf(stderr, "usage: velmora_xprobe shot FILE.png [X Y W H]\n");
    return 2;
}
