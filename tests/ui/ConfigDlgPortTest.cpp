// The port: its index kept in the settings file, preselected at the next start, and what a port that cannot
// be opened does to the window.
#include "WindowFixture.h"

#include "CaseName.h"

#include <QFile>

namespace
{
struct StoredPortCase {
    const char* m_szName;
    const char* m_szSettings;  // nullptr: no settings file
    int m_nPort;               // m_nPort as read, without a range test
    int m_nSelected;           // the combo's selection, -1 for none
};

class StoredPortTest : public WindowFixture, public ::testing::WithParamInterface<StoredPortCase> {};
}  // namespace

TEST_P(StoredPortTest, StartSelectsTheStoredPort)
{
    const StoredPortCase& c = GetParam();
    if (c.m_szSettings != nullptr)
        WriteSettings(c.m_szSettings);
    OpenWindow();
    EXPECT_EQ(m_pDlg->m_nPort, c.m_nPort);
    EXPECT_EQ(Combo(IDC_PORT)->currentIndex(), c.m_nSelected);
    const QString strShown = c.m_nSelected < 0 ? QString() : QStringLiteral("    COM%1").arg(c.m_nSelected + 1);
    EXPECT_EQ(Combo(IDC_PORT)->currentText(), strShown);
    EXPECT_TRUE(m_aBoxes.empty());
    // Reading the setting never writes the file.
    if (c.m_szSettings == nullptr) {
        EXPECT_FALSE(ReadSettings().has_value());
    } else {
        EXPECT_EQ(ReadSettings(), QByteArray(c.m_szSettings));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, StoredPortTest,
    ::testing::Values(StoredPortCase{"no file", nullptr, 0, 0},
                      StoredPortCase{"COM4", "[Settings]\r\nPortName=3\r\n", 3, 3},
                      StoredPortCase{"names in other case", "[settings]\nportname=7\n", 7, 7},
                      StoredPortCase{"key in another section", "[Ports]\nPortName=5\n[Settings]\n", 0, 0},
                      StoredPortCase{"index past COM8", "[Settings]\nPortName=9\n", 9, -1},
                      StoredPortCase{"negative index", "[Settings]\nPortName=-1\n", -1, -1},
                      StoredPortCase{"not a number", "[Settings]\nPortName=COM2\n", 0, 0}),
    [](const auto& info) { return CaseName(info.param.m_szName); });

TEST_F(OpenWindowFixture, PickedPortIsStoredAsItsIndexAndPreselectedAtTheNextStart)
{
    Click(IDC_NONLINEAR);
    m_pDlg->m_staticReading->setText(QStringLiteral("123"));

    PickFromCombo(IDC_PORT, 3);
    EXPECT_EQ(m_pDlg->m_nPort, 3);
    EXPECT_EQ(ReadSettings(), QByteArray("[Settings]\nPortName=3\n"));
    // The port was closed, the display reset and the port opened again.
    EXPECT_EQ(m_pDlg->m_staticReading->text(), QStringLiteral("XXXX"));
    EXPECT_EQ(m_pDlg->m_link.Comm().GetCommPort(), 4);
    EXPECT_TRUE(m_pDlg->m_link.IsPolling());
    EXPECT_EQ(m_anSleeps, (std::vector<int>{100, 100}));

    // Picking the same port again writes the same value again.
    ASSERT_TRUE(QFile::remove(SettingsPath()));
    PickFromCombo(IDC_PORT, 3);
    EXPECT_EQ(ReadSettings(), QByteArray("[Settings]\nPortName=3\n"));
    EXPECT_TRUE(m_aBoxes.empty()) << BoxTexts().join('\n').toStdString();

    Restart();
    EXPECT_EQ(m_pDlg->m_nPort, 3);
    EXPECT_EQ(Combo(IDC_PORT)->currentText(), QStringLiteral("    COM4"));
    // The next start is in linear mode with the port closed, whatever was stored.
    EXPECT_FALSE(m_pDlg->m_link.Comm().GetPortOpen());
}

TEST_F(WindowFixture, StoringThePortKeepsTheRestOfTheFile)
{
    const QByteArray abBefore = "; Velmora settings\r\n"
                                "[Ports]\r\n"
                                "COM4=/dev/ttyUSB7\r\n"
                                "\r\n"
                                "[Settings]\r\n"
                                "; last port\r\n"
                                "PortName=0\r\n"
                                "\r\n"
                                "[Other]\r\n"
                                "PortName=6\r\n";
    WriteSettings(abBefore);
    OpenWindow();
    Click(IDC_NONLINEAR);
    PickFromCombo(IDC_PORT, 3);

    QByteArray abExpected = abBefore;
    abExpected.replace("PortName=0", "PortName=3");
    EXPECT_EQ(ReadSettings(), abExpected);
}

namespace
{
struct OpenFailureCase {
    const char* m_szName;
    const char* m_szSettings;   // nullptr: no settings file
    bool m_bPickSecondPort;     // else: only the click on "Nonlinear Conversion"
    bool m_bSecondPortMissing;  // COM2 mapped to a device that does not exist
    const char* m_szMessageStart;
};

class OpenFailureTest : public WindowFixture, public ::testing::WithParamInterface<OpenFailureCase> {};
}  // namespace

TEST_P(OpenFailureTest, OneMessageNamesThePortAndPollingDoesNotRun)
{
    const OpenFailureCase& c = GetParam();
    const QString strMissing = m_dir.filePath(QStringLiteral("no-such-unit"));
    if (c.m_bSecondPortMissing)
        MapPort(2, strMissing);
    if (c.m_szSettings != nullptr)
        WriteSettings(c.m_szSettings);
    OpenWindow();

    Click(IDC_NONLINEAR);
    if (c.m_bPickSecondPort) {
        ASSERT_TRUE(m_aBoxes.empty()) << BoxTexts().join('\n').toStdString();
        PickFromCombo(IDC_PORT, 1);
    }

    const QString strStart = QString::fromLatin1(c.m_szMessageStart).replace(QStringLiteral("%missing"), strMissing);
    ASSERT_EQ(m_aBoxes.size(), 1u) << BoxTexts().join('\n').toStdString();
    EXPECT_TRUE(m_aBoxes[0].m_strText.startsWith(strStart)) << m_aBoxes[0].m_strText.toStdString();
    EXPECT_EQ(m_aBoxes[0].m_strCaption, TestAppTitle());
    EXPECT_EQ(m_aBoxes[0].m_nType & MB_ICONMASK, MB_ICONSTOP);
    EXPECT_FALSE(m_pDlg->m_link.Comm().GetPortOpen());
    EXPECT_FALSE(m_pDlg->m_link.IsPolling());
    // The window goes on in nonlinear mode.
    EXPECT_EQ(m_pDlg->m_nMode, 1);
    EXPECT_TRUE(Button(IDC_SET)->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Ports, OpenFailureTest,
    ::testing::Values(OpenFailureCase{"picked port has no device", nullptr, true, true, "COM2 (%missing): "},
                      OpenFailureCase{"stored port has no device", "[Settings]\nPortName=1\n", false, true,
                                      "COM2 (%missing): "},
                      OpenFailureCase{"stored index past COM8", "[Settings]\nPortName=9\n", false, false,
                                      "COM0 is not a serial port."}),
    [](const auto& info) { return CaseName(info.param.m_szName); });
