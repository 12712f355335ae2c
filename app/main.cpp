#include "ConfigApp.h"
#include "Resources.h"

#include <QApplication>

#include <csignal>

int main(int argc, char** argv)
{
    // A file size limit must end in a reported write failure, not in a killed program with a lost table.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setWindowIcon(LoadIconResource(IDR_MAINFRAME));
    QGuiApplication::setDesktopFileName(QStringLiteral("velmora"));

    CConfigApp theApp;
    theApp.InitInstance();
    return 0;
}
