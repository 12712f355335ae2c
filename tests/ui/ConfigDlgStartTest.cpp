// The main window as it comes up, and the controls each mode enables.
#include "WindowFixture.h"

#include "EventWait.h"
#include "ListBox.h"
#include "PointListCtrl.h"
#include "Resources.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include <string>

namespace
{
struct ControlState {
    int m_nId;
    const char* m_szName;
    bool m_bLinear;     // enabled in linear mode
    bool m_bNonlinear;  // enabled in nonlinear mode
};

// Every control with an id; the radio buttons, units, decimals, Generate, Exit and the display never change.
const ControlState ControlStates[] = {
    {IDC_LINEAR, "Linear Conversion", true, true},
    {IDC_NONLINEAR, "Nonlinear Conversion", true, true},
    {IDC_UNITS, "units", true, true},
    {IDC_DECIMALS, "decimals", true, true},
    {IDC_LOWER, "lower limit", true, false},
    {IDC_UPPER, "upper limit", true, false},
    {IDC_DISPLAY_VALUE, "value on display", false, true},
    {IDC_STEP, "step", false, true},
    {IDC_STEP_UP, "+", false, true},
    {IDC_STEP_DOWN, "-", false, true},
    {IDC_SET, "Set", false, true},
    {IDC_CLEAR_ALL, "Clear All", false, true},
    {IDC_PORT, "port", false, true},
    {IDC_CHANNEL, "channel", false, true},
    {IDC_GENERATE, "Generate", true, true},
    {IDOK, "Exit", true, true},
    {IDC_READING, "reading display", true, true},
    {IDC_POINTS, "point list", false, true},
};

void ExpectControlStates(CConfigDlg& dlg, bool bNonlinear, const char* szWhen)
{
    for (const ControlState& state : ControlStates) {
        QWidget* pControl = dlg.GetDlgItem(state.m_nId);
        ASSERT_NE(pControl, nullptr) << state.m_szName;
        EXPECT_EQ(pControl->isEnabled(), bNonlinear ? state.m_bNonlinear : state.m_bLinear)
            << state.m_szName << " " << szWhen;
    }
}
}  // namespace

TEST_F(OpenWindowFixture, StartsInLinearModeWithZerosAndThePlaceholderReading)
{
    EXPECT_EQ(m_pDlg->windowTitle(), QStringLiteral("Velmora Tool"));
    EXPECT_EQ(m_pDlg->windowIcon().pixmap(32, 32).toImage(), LoadIconResource(IDR_MAINFRAME).pixmap(32, 32).toImage());
    EXPECT_TRUE(Radio(IDC_LINEAR)->isChecked());
    EXPECT_FALSE(Radio(IDC_NONLINEAR)->isChecked());
    for (int nId : {IDC_LOWER, IDC_UPPER, IDC_DISPLAY_VALUE, IDC_STEP})
        EXPECT_EQ(Edit(nId)->text(), QStringLiteral("0")) << nId;
    EXPECT_EQ(Edit(IDC_UNITS)->text(), QString());
    EXPECT_EQ(m_pDlg->m_staticReading->text(), QStringLiteral("XXXX"));

    // The decimals scroller shows "2", its one visible (top) item.
    CListBox* pDecimals = m_pDlg->m_listDecimals;
    EXPECT_EQ(pDecimals->GetCount(), 5);
    EXPECT_EQ(pDecimals->GetTopIndex(), 2);
    EXPECT_EQ(pDecimals->GetCurSel(), 2);
    EXPECT_EQ(pDecimals->indexAt(QPoint(2, 2)).data().toString(), QStringLiteral("2"));

    // No settings file: COM1.
    EXPECT_EQ(Combo(IDC_PORT)->currentText(), QStringLiteral("    COM1"));
    EXPECT_EQ(Combo(IDC_PORT)->count(), 8);
    EXPECT_EQ(Combo(IDC_CHANNEL)->currentText(), QStringLiteral("Channel 1"));
    EXPECT_EQ(Combo(IDC_CHANNEL)->count(), 3);

    // The port stays closed until nonlinear mode is chosen.
    EXPECT_FALSE(m_pDlg->m_link.Comm().GetPortOpen());
    EXPECT_FALSE(m_pDlg->m_link.IsPolling());
    EXPECT_TRUE(m_anSleeps.empty());
    EXPECT_TRUE(m_aBoxes.empty());
    EXPECT_FALSE(ReadSettings().has_value()) << "starting must not write the settings file";

    // The first control in tab order has the focus.
    EXPECT_EQ(QApplication::focusWidget(), Radio(IDC_LINEAR));
}

TEST_F(OpenWindowFixture, PointListHasItsThreeColumns)
{
    CPointListCtrl* pList = m_pDlg->m_listPoints;
    struct Column {
        const char* m_szCaption;
        int m_nFormat;
        int m_nWidth;
    };
    const Column aColumns[] = {{"Number", CPointListCtrl::FormatRight, 53},
                               {"Value From PIC", CPointListCtrl::FormatCenter, 90},
                               {"Value On Display", CPointListCtrl::FormatCenter, 170}};
    ASSERT_EQ(pList->columnCount(), 3);
    for (int nCol = 0; nCol < 3; ++nCol) {
        EXPECT_EQ(pList->horizontalHeaderItem(nCol)->text(), QString::fromLatin1(aColumns[nCol].m_szCaption));
        EXPECT_EQ(pList->GetColumnFormat(nCol), aColumns[nCol].m_nFormat) << nCol;
        EXPECT_EQ(pList->GetColumnWidth(nCol), aColumns[nCol].m_nWidth) << nCol;
    }
    EXPECT_EQ(pList->GetExtendedStyle(), CPointListCtrl::StyleGridLines | CPointListCtrl::StyleFullRowSelect);
    EXPECT_EQ(pList->GetItemCount(), 0);
}

TEST_F(OpenWindowFixture, SystemMenuOnTheBackgroundEndsWithTheAboutItem)
{
    QMenu* pMenu = OpenSystemMenu();
    ASSERT_NE(pMenu, nullptr) << "no menu on a right-click";
    const QList<QAction*> apActions = pMenu->actions();
    ASSERT_GE(apActions.size(), 2);
    EXPECT_TRUE(apActions[apActions.size() - 2]->isSeparator());
    EXPECT_EQ(apActions.last()->text(), QStringLiteral("&About Velmora..."));
    EXPECT_EQ(apActions.last()->data().toInt(), 16);
    pMenu->close();
}

TEST_F(OpenWindowFixture, ModeButtonsSwitchTheControlsThePortAndTheDisplay)
{
    ExpectControlStates(*m_pDlg, false, "at start");

    Click(IDC_NONLINEAR);
    EXPECT_EQ(m_pDlg->m_nMode, 1);
    ExpectControlStates(*m_pDlg, true, "after a click on Nonlinear Conversion");
    // The port opens (one 100 ms wait before the attempt) and polling runs; no reading has come yet.
    EXPECT_TRUE(m_pDlg->m_link.Comm().GetPortOpen());
    EXPECT_TRUE(m_pDlg->m_link.IsPolling());
    EXPECT_EQ(m_anSleeps, std::vector<int>{100});
    EXPECT_EQ(m_pDlg->m_staticReading->text(), QStringLiteral("XXXX"));

    m_pDlg->m_staticReading->setText(QStringLiteral("512"));
    Click(IDC_LINEAR);
    EXPECT_EQ(m_pDlg->m_nMode, 0);
    ExpectControlStates(*m_pDlg, false, "after a click on Linear Conversion");
    EXPECT_FALSE(m_pDlg->m_link.Comm().GetPortOpen());
    EXPECT_FALSE(m_pDlg->m_link.IsPolling());
    EXPECT_EQ(m_pDlg->m_staticReading->text(), QStringLiteral("XXXX"));
    EXPECT_TRUE(m_aBoxes.empty()) << BoxTexts().join('\n').toStdString();
}

TEST_F(OpenWindowFixture, NonlinearAgainReopensThePort)
{
    Click(IDC_NONLINEAR);
    ASSERT_TRUE(m_pDlg->m_link.IsPolling());
    Click(IDC_NONLINEAR);
    EXPECT_TRUE(m_pDlg->m_link.Comm().GetPortOpen());
    EXPECT_TRUE(m_pDlg->m_link.IsPolling());
    // Closed and opened again: a second wait before the second opening.
    EXPECT_EQ(m_anSleeps, (std::vector<int>{100, 100}));
    EXPECT_TRUE(m_aBoxes.empty()) << BoxTexts().join('\n').toStdString();
}
