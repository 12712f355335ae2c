#include "XDriver.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

constexpr int CommandTimeoutMs = 20000;
constexpr int PollMs = 50;
// Between the two presses of a double-click and between typed keys: well inside Qt's double-click interval,
// slow enough that no event is merged with the next.
constexpr int DoubleClickDelayMs = 80;
constexpr int TypeDelayMs = 30;

XDriver::XDriver(const QString& strDisplay) : m_strDisplay(strDisplay)
{
}

bool XDriver::IsInstalled()
{
    return !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty();
}

QString XDriver::Run(const QString& strProgram, const QStringList& astrArgs, bool* pOk) const
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_strDisplay);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    process.setProcessEnvironment(env);
    process.start(strProgram, astrArgs);
    const bool bFinished = process.waitForFinished(CommandTimeoutMs);
    const bool bOk = bFinished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!bOk) {
        if (!bFinished)
            process.kill();
        m_strLastError = strProgram + QLatin1Char(' ') + astrArgs.join(QLatin1Char(' ')) + QStringLiteral(": ")
            + (bFinished ? QString::fromLocal8Bit(process.readAllStandardError()).trimmed() : process.errorString());
    }
    if (pOk != nullptr)
        *pOk = bOk;
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString XDriver::XDoTool(const QStringList& astrArgs, bool* pOk) const
{
    return Run(QStringLiteral("xdotool"), astrArgs, pOk);
}

std::optional<QString> XDriver::WaitForWindow(const QString& strTitlePattern, int nMs) const
{
    const QDeadlineTimer deadline(nMs);
    do {
        // xdotool exits with 1 while nothing matches.
        const QStringList astrIds =
            XDoTool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), strTitlePattern})
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (!astrIds.isEmpty())
            return astrIds.first();
        QTest::qWait(PollMs);
    } while (!deadline.hasExpired());
    return std::nullopt;
}

bool XDriver::WaitForNoWindow(const QString& strTitlePattern, int nMs) const
{
    const QDeadlineTimer deadline(nMs);
    do {
        if (XDoTool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), strTitlePattern})
                .trimmed()
                .isEmpty())
            return true;
        QTest::qWait(PollMs);
    } while (!deadline.hasExpired());
    return false;
}

QRect XDriver::WindowRect(const QString& strWindow) const
{
    bool bOk = false;
    const QStringList astrLines =
        XDoTool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), strWindow}, &bOk).split(QLatin1Char('\n'));
    if (!bOk)
        return {};
    QRect rc;
    for (const QString& strLine : astrLines) {
        const QString strKey = strLine.section(QLatin1Char('='), 0, 0);
        const int nValue = strLine.section(QLatin1Char('='), 1).toInt();
        if (strKey == QLatin1String("X"))
            rc.moveLeft(nValue);
        else if (strKey == QLatin1String("Y"))
            rc.moveTop(nValue);
        else if (strKey == QLatin1String("WIDTH"))
            rc.setWidth(nValue);
        else if (strKey == QLatin1String("HEIGHT"))
            rc.setHeight(nValue);
    }
    return rc;
}

// No --sync on the move: it waits for the pointer to move and hangs when it is there already. The server
// takes the move and the click in order, so the click lands at the new position all the same.
void XDriver::Click(QPoint ptScreen) const
{
    XDoTool({QStringLiteral("mousemove"), QString::number(ptScreen.x()),
             QString::number(ptScreen.y()), QStringLiteral("click"), QStringLiteral("1")});
}

void XDriver::DoubleClick(QPoint ptScreen) const
{
    XDoTool({QStringLiteral("mousemove"), QString::number(ptScreen.x()),
             QString::number(ptScreen.y()), QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
             QStringLiteral("--delay"), QString::number(DoubleClickDelayMs), QStringLiteral("1")});
}

void XDriver::Key(const QString& strKeys) const
{
    XDoTool({QStringLiteral("key"), QStringLiteral("--delay"), QString::number(TypeDelayMs), strKeys});
}

void XDriver::Type(const QString& strText) const
{
    XDoTool({QStringLiteral("type"), QStringLiteral("--delay"), QString::number(TypeDelayMs), QStringLiteral("--"), strText});
}

QImage XDriver::Grab(const QRect& rc) const
{
    QTemporaryDir dir;
    const QString strPath = dir.filePath(QStringLiteral("grab.png"));
    return SaveShot(rc, strPath) ? QImage(strPath) : QImage();
}

bool XDriver::SaveShot(const QRect& rc, const QString& strPath) const
{
    bool bOk = false;
    Run(QStringLiteral(VELMORA_XPROBE),
        {QStringLiteral("shot"), strPath, QString::number(rc.x()), QString::number(rc.y()), QString::number(rc.width()),
         QString::number(rc.height())},
        &bOk);
    return bOk;
}
