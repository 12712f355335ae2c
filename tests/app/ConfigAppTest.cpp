// Start-up as the program does it: CConfigApp prepares the serial ports from the settings file, then runs the
// main window modally until it is closed. The window is driven from inside its own modal loop.
#include "ConfigApp.h"

#include "CaseName.h"
#include "ConfigDlg.h"
#include "EventWait.h"
#include "MessageBox.h"
#include "PortMap.h"
#include "Profile.h"
#include "PtyPair.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace
{
class StartupFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        SetProfilePath(SettingsPath());
        m_previousSink = SetMessageBoxSink([this](const MessageBoxRequest& request) {
            m_astrBoxes.push_back(request.m_strText);
            return IDOK;
        });
    }

    void TearDown() override
    {
        SetMessageBoxSink(m_previousSink);
        PortMap::Install(PortMap());
        SetProfilePath(QString());
    }

    QString SettingsPath() const { return m_dir.filePath(QStringLiteral("velmora.INI")); }

    // Runs the program's start-up; fnWhileOpen gets the main window once it shows and must close it.
    // A window still open after a while is closed here so the test fails instead of hanging.
    bool RunStartup(const std::function<void(CConfigDlg*)>& fnWhileOpen)
    {
        bool bSeen = false;
        QDeadlineTimer deadline(20000);
        QTimer timer;
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* pDlg = qobject_cast<CConfigDlg*>(QApplication::activeModalWidget());
            if (pDlg != nullptr && pDlg->isVisible() && !bSeen) {
                bSeen = true;
                fnWhileOpen(pDlg);
            } else if (deadline.hasExpired() && pDlg != nullptr) {
                pDlg->done(0);
            }
        });
        timer.start();
        CConfigApp app;
        const bool bResult = app.InitInstance();
        timer.stop();
        EXPECT_TRUE(bSeen) << "the main window did not show";
        EXPECT_FALSE(deadline.hasExpired()) << "the main window did not close";
        return bResult;
    }

    static void PressEscape(CConfigDlg* pDlg)
    {
        QWidget* pFocus = QApplication::focusWidget();
        QTest::keyClick(pFocus != nullptr && pDlg->isAncestorOf(pFocus) ? pFocus : pDlg, Qt::Key_Escape);
    }

    QTemporaryDir m_dir;
    std::vector<QString> m_astrBoxes;

private:
    MessageBoxSink m_previousSink;
};
}  // namespace

TEST_F(StartupFixture, PortMapAndPortComeFromTheSettingsFile)
{
    PtyPair pty;
    ASSERT_TRUE(pty.IsValid());
    const QByteArray abSettings = "[Ports]\nCOM3=" + pty.SlavePath().toLocal8Bit() + "\n[Settings]\nPortName=2\n";
    {
        QFile file(SettingsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(abSettings);
    }

    QString strPortLabel;
    const bool bResult = RunStartup([&](CConfigDlg* pDlg) {
        EXPECT_EQ(pDlg->windowTitle(), QStringLiteral("Velmora Tool"));
        EXPECT_EQ(qobject_cast<QComboBox*>(pDlg->GetDlgItem(IDC_PORT))->currentText(), QStringLiteral("    COM3"));
        pDlg->m_link.SetSleepFunction([](int) {});
        QTest::mouseClick(pDlg->GetDlgItem(IDC_NONLINEAR), Qt::LeftButton);
        if (pDlg->m_link.Comm().GetPortOpen())
            strPortLabel = pDlg->m_link.Comm().PortLabel();
        PressEscape(pDlg);
    });

    EXPECT_FALSE(bResult);
    // COM3 opened the device the Ports section names.
    EXPECT_EQ(strPortLabel, QStringLiteral("COM3 (%1)").arg(pty.SlavePath()));
    EXPECT_TRUE(m_astrBoxes.empty());
    QFile file(SettingsPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), abSettings);
}

namespace
{
struct SilentCase {
    const char* m_szName;
    const char* m_szSettings;  // nullptr: no file
    bool m_bFolder;            // the settings path is a folder
};

class SilentStartTest : public StartupFixture, public ::testing::WithParamInterface<SilentCase> {};
}  // namespace

TEST_P(SilentStartTest, StartsQuietlyWithCom1OnTheDefaultDevice)
{
    const SilentCase& c = GetParam();
    if (c.m_bFolder) {
        ASSERT_TRUE(QDir().mkpath(SettingsPath()));
    } else if (c.m_szSettings != nullptr) {
        QFile file(SettingsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.m_szSettings);
    }

    const bool bResult = RunStartup([](CConfigDlg* pDlg) {
        EXPECT_EQ(qobject_cast<QComboBox*>(pDlg->GetDlgItem(IDC_PORT))->currentText(), QStringLiteral("    COM1"));
        PressEscape(pDlg);
    });

    EXPECT_FALSE(bResult);
    EXPECT_TRUE(m_astrBoxes.empty());
    EXPECT_EQ(PortMap::Current().DevicePath(1), QStringLiteral("/dev/ttyS0"));
    if (c.m_szSettings == nullptr && !c.m_bFolder) {
        EXPECT_FALSE(QFile::exists(SettingsPath())) << "start-up must not create the settings file";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SilentStartTest,
    ::testing::Values(SilentCase{"no file", nullptr, false}, SilentCase{"path is a folder", nullptr, true},
                      SilentCase{"not an INI file", "\x7f" "ELF\x01\x02\x01\n\xff\xfe[Ports\nCOM1\n=\n", false},
                      SilentCase{"empty Ports entry", "[Ports]\nCOM1=\n", false}),
    [](const auto& info) { return CaseName(info.param.m_szName); });
