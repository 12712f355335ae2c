// The handler guard: what an escaping exception shows, that nothing reaches the event loop, and that the window
// carries on afterwards.
#include "Dialog.h"
#include "HandlerGuard.h"
#include "Resources.h"
#include "TestSupport.h"
#include "UserException.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <stdexcept>

#include <gtest/gtest.h>

// An exception whose text is empty.
class SilentError : public std::exception {
public:
    const char* what() const noexcept override { return ""; }
};

struct GuardCase {
    const char* m_pszName;
    std::function<void()> m_fn;
    bool m_bRanToEnd;
    const char* m_pszShown; // nullptr: no message box
};

static void PrintTo(const GuardCase& c, std::ostream* pOut)
{
    *pOut << c.m_pszName;
}

class HandlerGuardTest : public ::testing::TestWithParam<GuardCase> {};

TEST_P(HandlerGuardTest, ShowsWhatEscapedWithTheStopIconAndTheTitle)
{
    const GuardCase& c = GetParam();
    MessageBoxRecorder recorder;
    EXPECT_EQ(RunGuarded(c.m_fn), c.m_bRanToEnd);
    if (c.m_pszShown == nullptr) {
        EXPECT_TRUE(recorder.Requests().empty());
        return;
    }
    ASSERT_EQ(recorder.Requests().size(), 1U);
    EXPECT_EQ(recorder.Requests()[0].m_strText, QString::fromUtf8(c.m_pszShown));
    EXPECT_EQ(recorder.Requests()[0].m_nType, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(recorder.Requests()[0].m_strCaption, QStringLiteral(VELMORA_TEST_EXE_NAME));
}

INSTANTIATE_TEST_SUITE_P(
    Escapes, HandlerGuardTest,
    ::testing::Values(
        GuardCase{"nothing", [] {}, true, nullptr},
        GuardCase{"runtime_error",
                  [] { throw std::runtime_error("Port COM3 (/dev/ttyS2) could not be opened: Permission denied."); },
                  false, "Port COM3 (/dev/ttyS2) could not be opened: Permission denied."},
        GuardCase{"utf8_text", [] { throw std::runtime_error("Datei \xc3\xa4rger"); }, false, "Datei \xc3\xa4rger"},
        GuardCase{"empty_text", [] { throw SilentError(); }, false, "Internal application error."},
        GuardCase{"not_an_exception", [] { throw 42; }, false, "Internal application error."},
        GuardCase{"user_already_told", [] { throw UserException(); }, false, nullptr}));

TEST(HandlerGuardTest, SinkThatThrowsDoesNotEscapeEither)
{
    const MessageBoxSink previous = SetMessageBoxSink([](const MessageBoxRequest&) -> int {
        throw std::runtime_error("no display");
    });
    EXPECT_FALSE(RunGuarded([] { throw std::runtime_error("first"); }));
    SetMessageBoxSink(previous);
}

// A window whose handlers throw: each click is reported and the window keeps working.
class CThrowingHandlersDlg : public CDialog {
public:
    CThrowingHandlersDlg() : CDialog(IDD_VELMORA_DIALOG) {}

    int m_nSetClicks = 0;
    int m_nLastPort = -2;
    bool m_bInitThrows = false;

protected:
    bool OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (m_bInitThrows)
            throw std::runtime_error("Init went wrong.");
        return true;
    }

    void MessageMap() override
    {
        MapClicked(IDC_SET, &CThrowingHandlersDlg::OnSet);
        ConnectGuarded(ControlAs<QComboBox>(IDC_PORT), &QComboBox::activated, this,
                       &CThrowingHandlersDlg::OnPortChosen);
    }

private:
    void OnSet()
    {
        ++m_nSetClicks;
        throw std::runtime_error("Set failed " + std::to_string(m_nSetClicks) + ".");
    }

    void OnPortChosen(int nIndex)
    {
        m_nLastPort = nIndex;
        throw std::logic_error("Port " + std::to_string(nIndex) + " refused.");
    }
};

TEST(HandlerGuardTest, WindowCarriesOnAfterAHandlerThrew)
{
    MessageBoxRecorder recorder;
    CThrowingHandlersDlg dlg;
    ASSERT_TRUE(dlg.Create());
    ASSERT_TRUE(ShowActive(&dlg));
    auto* pSet = qobject_cast<QPushButton*>(dlg.GetDlgItem(IDC_SET));
    auto* pPort = qobject_cast<QComboBox*>(dlg.GetDlgItem(IDC_PORT));
    ASSERT_NE(pSet, nullptr);
    ASSERT_NE(pPort, nullptr);
    pSet->setEnabled(true);
    pPort->setEnabled(true);

    QTest::mouseClick(pSet, Qt::LeftButton);
    QTest::mouseClick(pSet, Qt::LeftButton);
    pPort->setCurrentIndex(0);
    pPort->setFocus();
    QTest::keyClick(pPort, Qt::Key_Down); // a user's choice: CBN_SELCHANGE

    EXPECT_EQ(dlg.m_nSetClicks, 2);
    EXPECT_EQ(dlg.m_nLastPort, 1);
    EXPECT_EQ(recorder.Texts(), (std::vector<QString>{QStringLiteral("Set failed 1."), QStringLiteral("Set failed 2."),
                                                      QStringLiteral("Port 1 refused.")}));
    EXPECT_TRUE(dlg.isVisible());
}

TEST(HandlerGuardTest, ExceptionInOnInitDialogIsShownAndTheWindowStillComesUp)
{
    MessageBoxRecorder recorder;
    CThrowingHandlersDlg dlg;
    dlg.m_bInitThrows = true;
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(recorder.Texts(), std::vector<QString>{QStringLiteral("Init went wrong.")});
    QTest::mouseClick(dlg.GetDlgItem(IDC_SET), Qt::LeftButton);
    EXPECT_EQ(dlg.m_nSetClicks, 1);
}

TEST(HandlerGuardTest, ProgramSelectionIsNotAUserSelectionChange)
{
    MessageBoxRecorder recorder;
    CThrowingHandlersDlg dlg;
    ASSERT_TRUE(dlg.Create());
    qobject_cast<QComboBox*>(dlg.GetDlgItem(IDC_PORT))->setCurrentIndex(4);
    EXPECT_EQ(dlg.m_nLastPort, -2);
    EXPECT_TRUE(recorder.Requests().empty());
}
