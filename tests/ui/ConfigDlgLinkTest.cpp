// What the window tells the user when the unit goes away while it polls.
#include "WindowFixture.h"

#include "EventWait.h"

TEST_F(OpenWindowFixture, UnitThatGoesAwayIsToldOnceAndPollingStops)
{
    m_pDlg->m_link.SetPollPeriodForTests(20);
    Click(IDC_NONLINEAR);
    ASSERT_TRUE(m_pDlg->m_link.IsPolling());

    // The cable is pulled: the device hangs up.
    m_pPty->CloseMaster();
    ASSERT_TRUE(WaitFor([this] { return !m_aBoxes.empty(); }));
    DrainEvents();
    ASSERT_EQ(m_aBoxes.size(), 1u) << BoxTexts().join('\n').toStdString();
    EXPECT_TRUE(m_aBoxes[0].m_strText.startsWith(QStringLiteral("COM1 (%1): ").arg(m_pPty->SlavePath())))
        << m_aBoxes[0].m_strText.toStdString();
    EXPECT_EQ(m_aBoxes[0].m_strCaption, TestAppTitle());
    EXPECT_FALSE(m_pDlg->m_link.IsPolling());
    EXPECT_FALSE(m_pDlg->m_link.Comm().GetPortOpen());
    // The window carries on in nonlinear mode; choosing the mode again opens the port again.
    EXPECT_TRUE(Button(IDC_SET)->isEnabled());
}
