#pragma once

#include <QProcess>
#include <QString>

// A private Xvfb server for one test: a fixed screen size and 96 dpi, so the window's layout is the same on every
// machine; the display number is the first free one (Xvfb picks it). Stopped when the object goes.
class XServer
{
public:
    static constexpr int ScreenWidth = 1280;
    static constexpr int ScreenHeight = 1024;

    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // Whether Xvfb is installed at all (the test can only skip when it is not).
    static bool IsInstalled();
    // ":N" once the server runs, empty when it did not start; Error() then says why.
    const QString& Display() const { return m_strDisplay; }
    const QString& Error() const { return m_strError; }

private:
    QProcess m_process;
    QString m_strDisplay;
    QString m_strError;
};
