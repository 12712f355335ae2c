// The tool as a person meets it: the real velmora program in a real X server (Xvfb), driven by real pointer and
// key events (xdotool), against the real velmora-unit-sim on a pseudo-terminal mapped as COM1 through a private
// settings file. The controls are found from the same window laid out here offscreen; what the reading display
// shows, and a message box's text, are compared with the same controls drawn here; the table file is checked byte
// for byte. Screenshots of every step go to the build folder.
#include "MessageBoxLook.h"
#include "WindowLayout.h"
#include "XDriver.h"
#include "XServer.h"

#include "ResourceIds.h"
#include "SimProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

namespace
{
constexpr int WindowDeadlineMs = 20000;
// The program polls every two seconds and the unit answers at 2400 baud: a new reading shows within about
// three seconds; the margin is for a loaded machine.
constexpr int ReadingDeadlineMs = 20000;
constexpr int FileDeadlineMs = 20000;
const QString MainTitle = QStringLiteral("^Velmora Tool$");
// Message boxes are captioned with the executable's base name.
const QString MessageBoxTitle = QStringLiteral("^velmora$");
const QString SaveDialogTitle = QStringLiteral("^Save As$");

QByteArray ReadFile(const QString& strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString& strPath, const QByteArray& abContent)
{
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(abContent) == abContent.size();
}

bool SameImage(const QImage& a, const QImage& b)
{
    return !a.isNull() && a.size() == b.size()
        && a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

// Whether the picture shows the smaller one somewhere, pixel for pixel.
bool ContainsImage(const QImage& picture, const QImage& part)
{
    if (picture.isNull() || part.isNull())
        return false;
    const QImage big = picture.convertToFormat(QImage::Format_RGB32);
    const QImage small = part.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y + small.height() <= big.height(); ++y) {
        for (int x = 0; x + small.width() <= big.width(); ++x) {
            if (big.copy(x, y, small.width(), small.height()) == small)
                return true;
        }
    }
    return false;
}

bool WaitUntil(const std::function<bool()>& fnDone, int nMs)
{
    const QDeadlineTimer deadline(nMs);
    while (!fnDone()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(50);
    }
    return true;
}
} // namespace

class AcceptanceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!XServer::IsInstalled() || !XDriver::IsInstalled())
            GTEST_SKIP() << "Xvfb or xdotool is not installed (scripts/setup installs the xvfb and xdotool packages)";
        ASSERT_TRUE(m_dirWork.isValid());
        for (const char* pszFolder : {"config", "home", "runtime", "files", "layout-config"})
            ASSERT_TRUE(QDir(m_dirWork.path()).mkpath(QString::fromLatin1(pszFolder)));
        QFile::setPermissions(WorkPath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        m_pServer = std::make_unique<XServer>();
        ASSERT_FALSE(m_pServer->Display().isEmpty()) << m_pServer->Error().toStdString();
        m_pX = std::make_unique<XDriver>(m_pServer->Display());

        // The layout copy reads its (empty) settings from a scratch folder too, never the user's.
        qputenv("XDG_CONFIG_HOME", WorkPath("layout-config").toLocal8Bit());
        m_pLayout = std::make_unique<WindowLayout>();

        const ::testing::TestInfo* pInfo = ::testing::UnitTest::GetInstance()->current_test_info();
        m_strShots = QStringLiteral(VELMORA_SHOTS_DIR "/") + QString::fromLatin1(pInfo->name());
        QDir(m_strShots).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(m_strShots));
    }

    void TearDown() override
    {
        if (m_velmora.state() != QProcess::NotRunning) {
            m_velmora.kill();
            m_velmora.waitForFinished(5000);
        }
    }

    QString WorkPath(const char* pszName) const { return m_dirWork.filePath(QString::fromLatin1(pszName)); }

    // Starts velmora with COM1 mapped to strDevice (if any), in the scratch folder, and waits for its window.
    void StartVelmora(const QString& strDevice)
    {
        const QByteArray abIni = strDevice.isEmpty() ? QByteArray() : "[Ports]\nCOM1=" + strDevice.toLocal8Bit() + '\n';
        ASSERT_TRUE(WriteFile(WorkPath("config") + QStringLiteral("/velmora.INI"), abIni));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_pServer->Display());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), WorkPath("config"));
        env.insert(QStringLiteral("HOME"), WorkPath("home"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), WorkPath("runtime"));
        m_velmora.setProcessEnvironment(env);
        // The save dialog starts in the current folder.
        m_velmora.setWorkingDirectory(WorkPath("files"));
        m_velmora.setProcessChannelMode(QProcess::MergedChannels);
        m_velmora.start(QStringLiteral(VELMORA_EXE), {});
        ASSERT_TRUE(m_velmora.waitForStarted(10000)) << m_velmora.errorString().toStdString();

        const std::optional<QString> strWindow = m_pX->WaitForWindow(MainTitle, WindowDeadlineMs);
        ASSERT_TRUE(strWindow.has_value()) << "no \"Velmora Tool\" window; velmora said: "
                                          << m_velmora.readAll().toStdString();
        m_strWindow = *strWindow;
        m_rcWindow = m_pX->WindowRect(m_strWindow);
        // Everything below finds controls from the offscreen copy: both must have the same size, which they have
        // only when both measured the same dialog font.
        ASSERT_EQ(m_rcWindow.size(), m_pLayout->WindowSize())
            << "the real window and its offscreen copy differ in size: the dialog font is not the same";
    }

    QPoint At(int nId) const { return m_rcWindow.topLeft() + m_pLayout->ControlRect(nId).center(); }
    QPoint At(const QRect& rcClient) const { return m_rcWindow.topLeft() + rcClient.center(); }

    void TypeInto(int nId, const QString& strText)
    {
        m_pX->Click(At(nId));
        m_pX->Key(QStringLiteral("ctrl+a"));
        m_pX->Type(strText);
    }

    // A screenshot of the main window, numbered in step order.
    void Shot(const QString& strStep) { ShotOf(m_rcWindow, strStep); }
    void ShotOf(const QRect& rcScreen, const QString& strStep)
    {
        const QString strPath = QStringLiteral("%1/%2-%3.png").arg(m_strShots).arg(++m_nShot, 2, 10, QLatin1Char('0')).arg(strStep);
        EXPECT_TRUE(m_pX->SaveShot(rcScreen, strPath)) << m_pX->LastError().toStdString();
    }

    QImage ReadingOnScreen() const
    {
        const QRect rc = m_pLayout->ControlRect(IDC_READING);
        return m_pX->Grab(rc.translated(m_rcWindow.topLeft()));
    }

    // Waits until the reading display looks exactly as it does with this text.
    bool WaitForReading(const QString& strText)
    {
        const QImage expected = m_pLayout->ReadingImage(strText);
        QImage actual;
        if (WaitUntil([&] { return SameImage(actual = ReadingOnScreen(), expected); }, ReadingDeadlineMs))
            return true;
        // Both pictures beside the steps' screenshots, to see what the display showed instead.
        expected.save(QStringLiteral("%1/reading-expected-%2.png").arg(m_strShots, strText));
        actual.save(QStringLiteral("%1/reading-actual-%2.png").arg(m_strShots, strText));
        return false;
    }

    bool WaitForExit()
    {
        return m_velmora.state() == QProcess::NotRunning || m_velmora.waitForFinished(WindowDeadlineMs);
    }

    QTemporaryDir m_dirWork;
    std::unique_ptr<XServer> m_pServer;
    std::unique_ptr<XDriver> m_pX;
    std::unique_ptr<WindowLayout> m_pLayout;
    QProcess m_velmora;
    QString m_strWindow;
    QRect m_rcWindow;
    QString m_strShots;
    int m_nShot = 0;
};

TEST_F(AcceptanceTest, CalibrateAgainstTheUnitAndGenerateThroughTheSaveDialog)
{
    SimProcess sim({QStringLiteral("--values"), QStringLiteral("100,40000,7")});
    ASSERT_FALSE(sim.DevicePath().isEmpty()) << "velmora-unit-sim did not start";
    StartVelmora(sim.DevicePath());
    Shot(QStringLiteral("start"));
    ASSERT_TRUE(WaitForReading(QStringLiteral("XXXX"))) << "the reading display does not show XXXX at start";

    m_pX->Click(At(IDC_NONLINEAR));
    ASSERT_TRUE(WaitForReading(QStringLiteral("100"))) << "no reading of 100 from the unit";
    Shot(QStringLiteral("nonlinear-reading"));

    // Three input levels of the unit, each recorded with the value it is to display.
    struct Level {
        int m_nReading;
        const char* m_pszDisplay;
    };
    const Level aLevels[] = {{100, "5"}, {500, "40"}, {900, "85"}};
    for (const Level& level : aLevels) {
        const QString strReading = QString::number(level.m_nReading);
        if (level.m_nReading != 100)
            sim.Send("1 " + strReading.toLatin1());
        ASSERT_TRUE(WaitForReading(strReading)) << "the reading display did not show " << level.m_nReading;
        TypeInto(IDC_DISPLAY_VALUE, QString::fromLatin1(level.m_pszDisplay));
        m_pX->Click(At(IDC_SET));
        Shot(QStringLiteral("set-") + strReading);
    }

    // The last point's display value corrected in its cell; the editor stores it with four decimals on Return.
    m_pX->DoubleClick(At(m_pLayout->CellRect(3, 2, 2)));
    m_pX->Key(QStringLiteral("ctrl+a"));
    m_pX->Type(QStringLiteral("90.5"));
    Shot(QStringLiteral("cell-editor"));
    m_pX->Key(QStringLiteral("Return"));

    // Three decimal places: one click on the scroller's down arrow from the two it starts with.
    m_pX->Click(At(m_pLayout->DecimalsDownArrow()));
    TypeInto(IDC_UNITS, QStringLiteral("bar"));
    Shot(QStringLiteral("points-decimals-units"));

    // Generate through the real save dialog: a name without extension gets ".anl" in the dialog's folder.
    m_pX->Click(At(IDC_GENERATE));
    const std::optional<QString> strDialog = m_pX->WaitForWindow(SaveDialogTitle, WindowDeadlineMs);
    ASSERT_TRUE(strDialog.has_value()) << "no save dialog";
    ShotOf(m_pX->WindowRect(*strDialog), QStringLiteral("save-dialog"));
    m_pX->Key(QStringLiteral("ctrl+a"));
    m_pX->Type(QStringLiteral("session"));
    m_pX->Key(QStringLiteral("Return"));
    const QString strTable = WorkPath("files") + QStringLiteral("/session.anl");
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(strTable); }, FileDeadlineMs)) << "no file " << strTable.toStdString();
    ASSERT_TRUE(m_pX->WaitForNoWindow(SaveDialogTitle, WindowDeadlineMs));
    Shot(QStringLiteral("generated"));

    // The file equals what velmora-table makes of the same points, decimals and units...
    const QString strPoints = WorkPath("points.csv");
    ASSERT_TRUE(WriteFile(strPoints, "Number,Value From PIC,Value On Display\n0,100,5.0000\n1,500,40.0000\n2,900,90.5000\n"));
    const QString strExpected = WorkPath("expected.anl");
    ASSERT_EQ(QProcess::execute(QStringLiteral(VELMORA_TABLE_EXE),
                                {QStringLiteral("--points"), strPoints, QStringLiteral("--decimals"), QStringLiteral("3"),
                                 QStringLiteral("--units"), QStringLiteral("bar"), QStringLiteral("--output"), strExpected}),
              0);
    const QByteArray abTable = ReadFile(strTable);
    EXPECT_EQ(abTable, ReadFile(strExpected));

    // ...and holds the figures the points give.
    const QList<QByteArray> aLines = abTable.split('\n');
    ASSERT_EQ(aLines.size(), 1027);
    const struct {
        int m_nLine;
        const char* m_pszText;
    } aFigures[] = {
        {1, "0\t5.000\r"},      {101, "100\t5.000\r"},   {301, "300\t22.500\r"}, {501, "500\t40.000\r"},
        {701, "700\t65.250\r"}, {901, "900\t90.500\r"},  {1024, "1023\t90.500\r"}, {1025, "0\r"},
        {1026, "bar\r"},        {1027, "%.3f"},
    };
    for (const auto& figure : aFigures)
        EXPECT_EQ(aLines[figure.m_nLine - 1], QByteArray(figure.m_pszText)) << "line " << figure.m_nLine;

    m_pX->Click(At(IDOK));
    EXPECT_TRUE(WaitForExit()) << "\"Exit\" did not end the program";
    EXPECT_EQ(m_velmora.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_velmora.exitCode(), 0);
}

TEST_F(AcceptanceTest, ExitWithLettersInANumberBoxKeepsTheWindowAndEscapeClosesIt)
{
    StartVelmora(QString());
    TypeInto(IDC_LOWER, QStringLiteral("12abc"));
    m_pX->Click(At(IDOK));

    const std::optional<QString> strBox = m_pX->WaitForWindow(MessageBoxTitle, WindowDeadlineMs);
    ASSERT_TRUE(strBox.has_value()) << "no message box after \"Exit\" with letters in the lower limit";
    const QRect rcBox = m_pX->WindowRect(*strBox);
    ShotOf(rcBox, QStringLiteral("message-box"));
    const QImage expectedText =
        DrawMessageBoxText(QMessageBox::Warning, QStringLiteral("velmora"), QStringLiteral("Please enter a number."));
    // The window manager's absence can make the box a few pixels taller, so the text is looked for anywhere in it.
    const QImage boxOnScreen = m_pX->Grab(rcBox);
    if (!ContainsImage(boxOnScreen, expectedText)) {
        expectedText.save(m_strShots + QStringLiteral("/message-expected-text.png"));
        ADD_FAILURE() << "the message box does not say \"Please enter a number.\" (pictures in " << m_strShots.toStdString() << ")";
    }
    m_pX->Key(QStringLiteral("Return"));
    ASSERT_TRUE(m_pX->WaitForNoWindow(MessageBoxTitle, WindowDeadlineMs));

    // The window is still there and still answers: "Exit" brings the same box again.
    Shot(QStringLiteral("still-open"));
    m_pX->Click(At(IDOK));
    ASSERT_TRUE(m_pX->WaitForWindow(MessageBoxTitle, WindowDeadlineMs).has_value())
        << "the window did not stay open after the rejected \"Exit\"";
    m_pX->Key(QStringLiteral("Return"));
    ASSERT_TRUE(m_pX->WaitForNoWindow(MessageBoxTitle, WindowDeadlineMs));
    EXPECT_EQ(m_velmora.state(), QProcess::Running) << "the window closed although a box held letters";

    m_pX->Key(QStringLiteral("Escape"));
    EXPECT_TRUE(WaitForExit()) << "Escape did not close the window";
    EXPECT_TRUE(m_pX->WaitForNoWindow(MainTitle, WindowDeadlineMs));
}
