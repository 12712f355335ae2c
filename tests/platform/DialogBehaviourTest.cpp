// How a dialog ends: "Exit" (IDOK) saves and closes only when every box went through; Enter presses the default
// button from an edit and the focused button otherwise; Escape, the close box and the system menu's Close end it
// with IDCANCEL without any exchange. And the system menu on the window's background.
#include "ExchangeDlg.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

// Runs the dialog modally while script plays the user; a window the script leaves open ends with -99.
static int RunModal(CDialog& dlg, const std::function<void()>& script)
{
    QTimer::singleShot(0, &dlg, [&] {
        if (WaitFor([&] { return dlg.isVisible() && dlg.isActiveWindow(); }))
            script();
        if (dlg.isVisible())
            dlg.QDialog::done(-99);
    });
    return dlg.DoModal();
}

TEST(DialogBehaviourTest, ExitWithABadBoxKeepsTheWindowOpenUntilEscape)
{
    MessageBoxRecorder recorder;
    CExchangeDlg dlg;
    bool bOpenAfterExit = false;
    bool bFocusOnBadBox = false;
    QString strSelected;
    const int nResult = RunModal(dlg, [&] {
        dlg.Edit(IDC_LOWER)->setText(QStringLiteral("5"));
        dlg.Edit(IDC_DISPLAY_VALUE)->setText(QStringLiteral("12abc"));
        QTest::mouseClick(dlg.GetDlgItem(IDOK), Qt::LeftButton);
        bOpenAfterExit = dlg.isVisible();
        QLineEdit* pBad = dlg.Edit(IDC_DISPLAY_VALUE);
        bFocusOnBadBox = WaitFor([&] { return pBad->hasFocus(); });
        strSelected = pBad->selectedText();
        // Escape saves nothing: this new units text must not reach the member.
        dlg.Edit(IDC_UNITS)->setText(QStringLiteral("never saved"));
        QTest::keyClick(pBad, Qt::Key_Escape);
    });
    EXPECT_TRUE(bOpenAfterExit);
    EXPECT_TRUE(bFocusOnBadBox);
    EXPECT_EQ(strSelected, QStringLiteral("12abc"));
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_EQ(recorder.Texts(), std::vector<QString>{QStringLiteral("Please enter a number.")});
    EXPECT_EQ(dlg.m_dLower, 5.0);            // saved by the failed Exit, before the bad box
    EXPECT_EQ(dlg.m_strUnits, QString());    // Escape did no exchange
}

struct EndCase {
    const char* m_pszName;
    std::function<void(CExchangeDlg&)> m_fnAct;
    int m_nResult;
    bool m_bSaved;
};

static void PrintTo(const EndCase& c, std::ostream* pOut)
{
    *pOut << c.m_pszName;
}

class DialogEndTest : public ::testing::TestWithParam<EndCase> {};

TEST_P(DialogEndTest, EndsWithTheRightResultAndExchange)
{
    MessageBoxRecorder recorder;
    CExchangeDlg dlg;
    const int nResult = RunModal(dlg, [&] {
        dlg.Edit(IDC_LOWER)->setText(QStringLiteral("8"));
        GetParam().m_fnAct(dlg);
    });
    EXPECT_EQ(nResult, GetParam().m_nResult);
    EXPECT_EQ(dlg.m_dLower, GetParam().m_bSaved ? 8.0 : 0.0);
    EXPECT_TRUE(recorder.Requests().empty());
}

static void TriggerSystemCommand(CDialog& dlg, int nCommand)
{
    for (QAction* pAction : dlg.GetSystemMenu()->actions()) {
        if (pAction->data().toInt() == nCommand)
            pAction->trigger();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ways, DialogEndTest,
    ::testing::Values(
        EndCase{"exit_click", [](CExchangeDlg& d) { QTest::mouseClick(d.GetDlgItem(IDOK), Qt::LeftButton); }, IDOK,
                true},
        EndCase{"enter_in_edit", [](CExchangeDlg& d) { QTest::keyClick(d.Edit(IDC_UNITS), Qt::Key_Return); }, IDOK,
                true},
        EndCase{"keypad_enter_in_number_box",
                [](CExchangeDlg& d) { QTest::keyClick(d.Edit(IDC_LOWER), Qt::Key_Enter); }, IDOK, true},
        EndCase{"enter_in_decimals_scroller",
                [](CExchangeDlg& d) { QTest::keyClick(d.GetDlgItem(IDC_DECIMALS), Qt::Key_Return); }, IDOK, true},
        EndCase{"escape", [](CExchangeDlg& d) { QTest::keyClick(d.Edit(IDC_LOWER), Qt::Key_Escape); }, IDCANCEL,
                false},
        EndCase{"close_box", [](CExchangeDlg& d) { d.close(); }, IDCANCEL, false},
        EndCase{"system_menu_close", [](CExchangeDlg& d) { TriggerSystemCommand(d, SC_CLOSE); }, IDCANCEL, false},
        EndCase{"accept_from_outside", [](CExchangeDlg& d) { d.accept(); }, IDOK, true}));

TEST(DialogBehaviourTest, EnterOnAnotherPushButtonPressesThatButton)
{
    CExchangeDlg dlg;
    bool bOpenAfterSet = false;
    const int nResult = RunModal(dlg, [&] {
        QWidget* pSet = dlg.GetDlgItem(IDC_SET);
        pSet->setFocus();
        if (!WaitFor([&] { return pSet->hasFocus(); }))
            return;
        QTest::keyClick(pSet, Qt::Key_Return);
        bOpenAfterSet = dlg.isVisible();
        // Back in an edit, Enter is "Exit" again.
        QLineEdit* pEdit = dlg.Edit(IDC_STEP);
        pEdit->setFocus();
        if (WaitFor([&] { return pEdit->hasFocus(); }))
            QTest::keyClick(pEdit, Qt::Key_Return);
    });
    EXPECT_EQ(dlg.m_nSetClicks, 1);
    EXPECT_TRUE(bOpenAfterSet);
    EXPECT_EQ(nResult, IDOK);
}

class CEndsAtOnceDlg : public CDialog {
public:
    CEndsAtOnceDlg() : CDialog(IDD_ABOUTBOX) {}

protected:
    bool OnInitDialog() override
    {
        CDialog::OnInitDialog();
        EndDialog(7);
        return true;
    }
};

TEST(DialogBehaviourTest, EndDialogDuringInitReturnsWithoutShowing)
{
    CEndsAtOnceDlg dlg;
    EXPECT_EQ(dlg.DoModal(), 7);
    EXPECT_FALSE(dlg.isVisible());
}

TEST(DialogBehaviourTest, AboutBoxClosesWithOkEnterAndEscape)
{
    const std::vector<std::pair<std::function<void(CDialog&)>, int>> aWays = {
        {[](CDialog& d) { QTest::mouseClick(d.GetDlgItem(IDOK), Qt::LeftButton); }, IDOK},
        {[](CDialog& d) { QTest::keyClick(&d, Qt::Key_Return); }, IDOK},
        {[](CDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }, IDCANCEL},
        {[](CDialog& d) { d.close(); }, IDCANCEL},
    };
    for (const auto& [fnAct, nExpected] : aWays) {
        CDialog about(IDD_ABOUTBOX);
        EXPECT_EQ(RunModal(about, [&] { fnAct(about); }), nExpected);
    }
}

// A window that adds its own item to the system menu, as the main window adds "&About Velmora...".
class CSysMenuDlg : public CDialog {
public:
    CSysMenuDlg() : CDialog(IDD_VELMORA_DIALOG) {}
    std::vector<int> m_anCommands;

protected:
    bool OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (QMenu* pMenu = GetSystemMenu()) {
            pMenu->addSeparator();
            pMenu->addAction(QStringLiteral("&About Velmora..."))->setData(IDM_ABOUTBOX);
        }
        return true;
    }

    void OnSysCommand(int nId, qintptr lParam) override
    {
        m_anCommands.push_back(nId);
        CDialog::OnSysCommand(nId, lParam);
    }
};

static QMenu* OpenContextMenu(CDialog& dlg, QPoint pt)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, pt, dlg.mapToGlobal(pt));
    QApplication::sendEvent(&dlg, &event);
    QMenu* pMenu = dlg.GetSystemMenu();
    return pMenu != nullptr && pMenu->isVisible() ? pMenu : nullptr;
}

TEST(DialogBehaviourTest, SystemMenuOnTheBackgroundEndsWithTheWindowsOwnItem)
{
    CSysMenuDlg dlg;
    ASSERT_TRUE(dlg.Create());
    ASSERT_TRUE(ShowActive(&dlg));
    QStringList astrItems;
    for (QAction* pAction : dlg.GetSystemMenu()->actions())
        astrItems << (pAction->isSeparator() ? QStringLiteral("-") : pAction->text());
    EXPECT_EQ(astrItems, (QStringList{QStringLiteral("Mi&nimize"), QStringLiteral("&Close"), QStringLiteral("-"),
                                      QStringLiteral("&About Velmora...")}));

    // Over an edit the edit's own menu applies, not the window's.
    EXPECT_EQ(OpenContextMenu(dlg, dlg.GetDlgItem(IDC_UNITS)->geometry().center()), nullptr);
    // The bare window below the right column is background.
    QMenu* pMenu = OpenContextMenu(dlg, QPoint(dlg.width() - 3, dlg.height() - 3));
    ASSERT_NE(pMenu, nullptr);
    pMenu->actions().last()->trigger();
    pMenu->close();
    EXPECT_EQ(dlg.m_anCommands, std::vector<int>{IDM_ABOUTBOX});
    EXPECT_TRUE(dlg.isVisible());
}

TEST(DialogBehaviourTest, AboutBoxHasNoMinimizeInItsSystemMenu)
{
    CDialog about(IDD_ABOUTBOX);
    ASSERT_TRUE(about.Create());
    ASSERT_NE(about.GetSystemMenu(), nullptr);
    ASSERT_EQ(about.GetSystemMenu()->actions().size(), 1);
    EXPECT_EQ(about.GetSystemMenu()->actions().first()->data().toInt(), SC_CLOSE);
}
