#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

// A person at an X display: real pointer and key events through xdotool (XTEST), windows found by title, and
// what the screen shows, read by velmora_xprobe. Positions are on the screen (root window).
class XDriver
{
public:
    explicit XDriver(const QString& strDisplay);

    // Whether xdotool is installed.
    static bool IsInstalled();

    // The first visible window whose title matches the regular expression, waiting up to nMs for it.
    std::optional<QString> WaitForWindow(const QString& strTitlePattern, int nMs) const;
    // Waits up to nMs until no visible window's title matches; true when none is left.
    bool WaitForNoWindow(const QString& strTitlePattern, int nMs) const;
    // The window's client area on the screen (an empty rectangle when it is gone).
    QRect WindowRect(const QString& strWindow) const;

    void Click(QPoint ptScreen) const;
    void DoubleClick(QPoint ptScreen) const;
    // Key names as xdotool knows them: "Return", "Escape", "ctrl+a".
    void Key(const QString& strKeys) const;
    void Type(const QString& strText) const;

    // A rectangle of the screen as an image (a null image when it could not be read).
    QImage Grab(const QRect& rc) const;
    // The same, saved as a PNG file; false when it could not be saved.
    bool SaveShot(const QRect& rc, const QString& strPath) const;

    // What the last failed command said, for test messages.
    const QString& LastError() const { return m_strLastError; }

private:
    QString Run(const QString& strProgram, const QStringList& astrArgs, bool* pOk = nullptr) const;
    QString XDoTool(const QStringList& astrArgs, bool* pOk = nullptr) const;

    QString m_strDisplay;
    mutable QString m_strLastError;
};
