// Building the main window's template: where the controls land, which one lies on top, how Tab walks them,
// the radio group, the fixed window, and a control of the window's own class.
#include "Dialog.h"
#include "ListBox.h"
#include "Resources.h"
#include "TestSupport.h"
#include "WindowText.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableWidget>
#include <QTest>

#include <memory>
#include <vector>

#include <gtest/gtest.h>

static std::unique_ptr<CDialog> CreatedMainDialog()
{
    auto pDlg = std::make_unique<CDialog>(IDD_VELMORA_DIALOG);
    EXPECT_TRUE(pDlg->Create());
    return pDlg;
}

TEST(DialogBuildTest, WindowHasTheTemplatesCaptionAndAFixedSize)
{
    auto pDlg = CreatedMainDialog();
    EXPECT_EQ(pDlg->windowTitle(), QStringLiteral("Velmora Tool"));
    // 287 x 247 dialog units with DejaVu Sans 8 pt (7 x 13 base units).
    EXPECT_EQ(pDlg->GetDialogBaseUnits(), QSize(7, 13));
    EXPECT_EQ(pDlg->size(), QSize(502, 401));
    EXPECT_EQ(pDlg->minimumSize(), pDlg->maximumSize());
    EXPECT_FALSE(pDlg->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(pDlg->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(pDlg->windowFlags() & Qt::WindowCloseButtonHint);

    CDialog about(IDD_ABOUTBOX);
    ASSERT_TRUE(about.Create());
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Velmora"));
    EXPECT_EQ(about.size(), QSize(411, 89));
    EXPECT_FALSE(about.windowFlags() & Qt::WindowMinimizeButtonHint);
}

struct PlacementCase {
    int m_nId;
    QRect m_rect; // pixels with 7 x 13 base units
};

class ControlPlacementTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(ControlPlacementTest, ControlSitsAtItsMappedRectangle)
{
    auto pDlg = CreatedMainDialog();
    QWidget* pWidget = pDlg->GetDlgItem(GetParam().m_nId);
    ASSERT_NE(pWidget, nullptr);
    EXPECT_EQ(pWidget->geometry(), GetParam().m_rect);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, ControlPlacementTest,
    ::testing::Values(PlacementCase{IDC_LINEAR, {23, 24, 128, 16}},       // 13,15 73x10
                      PlacementCase{IDC_NONLINEAR, {23, 50, 145, 16}},    // 13,31 83x10
                      PlacementCase{IDC_UNITS, {275, 18, 81, 24}},        // 157,11 46x15
                      PlacementCase{IDC_DECIMALS, {303, 47, 53, 21}},     // 173,29 30x13
                      PlacementCase{IDC_DISPLAY_VALUE, {170, 187, 124, 24}},
                      PlacementCase{IDC_STEP, {366, 176, 70, 23}},        // 209,108 40x14
                      PlacementCase{IDC_STEP_UP, {438, 176, 25, 23}},     // 250,108 14x14
                      PlacementCase{IDOK, {403, 11, 88, 24}},             // 230,7 50x15
                      PlacementCase{IDC_READING, {170, 156, 124, 24}},    // 97,96 71x15
                      PlacementCase{IDC_POINTS, {21, 219, 369, 166}}));   // 12,135 211x102

TEST(DialogBuildTest, ComboBoxesKeepTheirClosedHeightAndGetTheirItems)
{
    auto pDlg = CreatedMainDialog();
    auto* pPort = qobject_cast<QComboBox*>(pDlg->GetDlgItem(IDC_PORT));
    ASSERT_NE(pPort, nullptr);
    // 227,190 50x52: the height of 52 units includes the dropped-down list.
    EXPECT_EQ(pPort->geometry().topLeft(), QPoint(397, 309));
    EXPECT_EQ(pPort->width(), 88);
    EXPECT_LT(pPort->height(), 84);
    ASSERT_EQ(pPort->count(), 8);
    EXPECT_EQ(pPort->itemText(0), QStringLiteral("    COM1"));
    EXPECT_EQ(pPort->itemText(7), QStringLiteral("    COM8"));
    // Filled, but nothing chosen until the data exchange chooses.
    EXPECT_EQ(pPort->currentIndex(), -1);
    auto* pChannel = qobject_cast<QComboBox*>(pDlg->GetDlgItem(IDC_CHANNEL));
    ASSERT_NE(pChannel, nullptr);
    ASSERT_EQ(pChannel->count(), 3);
    EXPECT_EQ(pChannel->itemText(2), QStringLiteral("Channel 3"));
    EXPECT_FALSE(pChannel->isEditable());
}

TEST(DialogBuildTest, EveryTextFitsItsControlOnOneLine)
{
    // The dialog font is wider than the original's: no label, button or group box may lose part of its text.
    auto pDlg = CreatedMainDialog();
    const int nIndicator = pDlg->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth)
        + pDlg->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    for (QObject* pChild : pDlg->children()) {
        auto* pWidget = qobject_cast<QWidget*>(pChild);
        if (pWidget == nullptr)
            continue;
        const QString strText = GetWindowText(pWidget);
        if (strText.isEmpty() || qobject_cast<QLineEdit*>(pWidget) != nullptr)
            continue;
        SCOPED_TRACE(strText.toStdString());
        int nNeeded = pWidget->fontMetrics().horizontalAdvance(strText);
        if (qobject_cast<QRadioButton*>(pWidget) != nullptr)
            nNeeded += nIndicator;
        EXPECT_LE(nNeeded, pWidget->width());
        EXPECT_GE(pWidget->height(), pWidget->fontMetrics().height());
    }
}

TEST(DialogBuildTest, WidenedLabelsStopShortOfTheEditsBesideThem)
{
    auto pDlg = CreatedMainDialog();
    const std::vector<std::pair<QString, int>> aPairs = {{QStringLiteral("Lower Limit( 0 ) :"), IDC_LOWER},
                                                         {QStringLiteral("Upper Limit (1023 ) :"), IDC_UPPER}};
    for (const auto& [strLabel, nEdit] : aPairs) {
        const QLabel* pLabel = nullptr;
        for (const QLabel* pCandidate : pDlg->findChildren<QLabel*>()) {
            if (pCandidate->text() == strLabel)
                pLabel = pCandidate;
        }
        ASSERT_NE(pLabel, nullptr) << strLabel.toStdString();
        EXPECT_LT(pLabel->geometry().right(), pDlg->GetDlgItem(nEdit)->x()) << strLabel.toStdString();
    }
}

TEST(DialogBuildTest, EarlierControlsLieOnTopOfGroupBoxes)
{
    // The group boxes come last in the template; they must not cover the controls inside them.
    auto pDlg = CreatedMainDialog();
    for (int nId : {IDC_LOWER, IDC_UPPER, IDC_DISPLAY_VALUE, IDC_STEP, IDC_STEP_UP, IDC_STEP_DOWN, IDC_SET,
                    IDC_CLEAR_ALL, IDC_PORT, IDC_CHANNEL, IDC_POINTS, IDC_READING}) {
        QWidget* pWidget = pDlg->GetDlgItem(nId);
        ASSERT_NE(pWidget, nullptr) << nId;
        QWidget* pHit = pDlg->childAt(pWidget->geometry().center());
        EXPECT_TRUE(pHit == pWidget || pWidget->isAncestorOf(pHit)) << nId;
    }
}

TEST(DialogBuildTest, ClickingAnEditInsideAGroupBoxFocusesIt)
{
    auto pDlg = CreatedMainDialog();
    ASSERT_TRUE(ShowActive(pDlg.get()));
    QWidget* pEdit = pDlg->GetDlgItem(IDC_LOWER);
    // Through the window, so the click goes to whatever control lies on top at that point.
    QTest::mouseClick(pDlg->windowHandle(), Qt::LeftButton, {}, pEdit->geometry().center());
    EXPECT_TRUE(WaitFor([&] { return pEdit->hasFocus(); }));
}

static int FocusedId()
{
    QWidget* pFocus = QApplication::focusWidget();
    while (pFocus != nullptr && pFocus->objectName().isEmpty())
        pFocus = pFocus->parentWidget();
    return pFocus != nullptr ? pFocus->objectName().toInt() : 0;
}

TEST(DialogBuildTest, TabWalksTheTabStopsInTemplateOrder)
{
    auto pDlg = CreatedMainDialog();
    ASSERT_TRUE(ShowActive(pDlg.get()));
    // OnInitDialog's true result puts the focus on the first tab stop.
    ASSERT_TRUE(WaitFor([] { return FocusedId() == IDC_LINEAR; }));
    const std::vector<int> anExpected = {IDC_UNITS, IDC_DECIMALS, IDC_LOWER, IDC_UPPER, IDC_DISPLAY_VALUE, IDC_STEP,
                                         IDC_STEP_UP, IDC_STEP_DOWN, IDC_SET, IDC_CLEAR_ALL, IDC_PORT, IDC_CHANNEL,
                                         IDC_GENERATE, IDOK, IDC_POINTS, IDC_LINEAR};
    std::vector<int> anVisited;
    for (std::size_t i = 0; i < anExpected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        anVisited.push_back(FocusedId());
    }
    EXPECT_EQ(anVisited, anExpected);
}

TEST(DialogBuildTest, RadioGroupIsExclusiveAndTabEntersItAtTheCheckedButton)
{
    auto pDlg = CreatedMainDialog();
    ASSERT_TRUE(ShowActive(pDlg.get()));
    auto* pLinear = qobject_cast<QRadioButton*>(pDlg->GetDlgItem(IDC_LINEAR));
    auto* pNonlinear = qobject_cast<QRadioButton*>(pDlg->GetDlgItem(IDC_NONLINEAR));
    ASSERT_NE(pLinear, nullptr);
    ASSERT_NE(pNonlinear, nullptr);
    const std::vector<QAbstractButton*> aGroup = pDlg->GetRadioGroup(IDC_LINEAR);
    EXPECT_EQ(aGroup, (std::vector<QAbstractButton*>{pLinear, pNonlinear}));

    QTest::mouseClick(pNonlinear, Qt::LeftButton);
    EXPECT_TRUE(pNonlinear->isChecked());
    EXPECT_FALSE(pLinear->isChecked());
    QTest::mouseClick(pLinear, Qt::LeftButton);
    EXPECT_TRUE(pLinear->isChecked());
    EXPECT_FALSE(pNonlinear->isChecked());

    // With "Nonlinear Conversion" checked by the program (a load), Shift+Tab from the units box lands on it,
    // not on the button that last had the focus.
    pNonlinear->setChecked(true);
    QWidget* pUnits = pDlg->GetDlgItem(IDC_UNITS);
    pUnits->setFocus();
    ASSERT_TRUE(WaitFor([&] { return pUnits->hasFocus(); }));
    QTest::keyClick(pUnits, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(FocusedId(), IDC_NONLINEAR);
}

TEST(DialogBuildTest, StaticsTakeNoFocusAndHaveNoAddress)
{
    auto pDlg = CreatedMainDialog();
    EXPECT_EQ(pDlg->GetDlgItem(IDC_STATIC), nullptr);
    EXPECT_EQ(pDlg->GetDlgItem(IDC_MSCOMM), nullptr); // the serial transport has no window
    EXPECT_EQ(pDlg->GetDlgItem(4711), nullptr);
    EXPECT_EQ(pDlg->GetDlgItem(IDC_READING)->focusPolicy(), Qt::NoFocus);
    auto* pReading = qobject_cast<QLabel*>(pDlg->GetDlgItem(IDC_READING));
    ASSERT_NE(pReading, nullptr);
    EXPECT_EQ(pReading->alignment(), Qt::AlignHCenter | Qt::AlignVCenter);
    EXPECT_EQ(pReading->frameShadow(), QFrame::Sunken);
    auto* pDecimals = qobject_cast<CListBox*>(pDlg->GetDlgItem(IDC_DECIMALS));
    ASSERT_NE(pDecimals, nullptr);
    auto* pDefault = qobject_cast<QPushButton*>(pDlg->GetDlgItem(IDOK));
    ASSERT_NE(pDefault, nullptr);
    EXPECT_TRUE(pDefault->isDefault());
    EXPECT_EQ(pDefault->text(), QStringLiteral("Exit"));
    EXPECT_FALSE(qobject_cast<QPushButton*>(pDlg->GetDlgItem(IDC_SET))->isDefault());
}

// A list of the window's own class, as the main window's point list will be.
class CTestPointList : public QTableWidget {
public:
    explicit CTestPointList(QWidget* pParent) : QTableWidget(pParent) {}
};

class CFactoryDlg : public CDialog {
public:
    CFactoryDlg() : CDialog(IDD_VELMORA_DIALOG)
    {
        RegisterControlClass(IDC_POINTS, [this](QWidget* pParent) {
            m_pParentSeen = pParent;
            return new CTestPointList(pParent);
        });
    }

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_POINTS, m_pList);
        if (m_bBindWrongClass)
            DDX_Control(pDX, IDC_DECIMALS, m_pWrong);
    }

    QWidget* m_pParentSeen = nullptr;
    CTestPointList* m_pList = nullptr;
    QLineEdit* m_pWrong = nullptr;
    bool m_bBindWrongClass = false;
};

TEST(DialogBuildTest, RegisteredClassReplacesTheStockControl)
{
    MessageBoxRecorder recorder;
    CFactoryDlg dlg;
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(dlg.m_pParentSeen, &dlg);
    auto* pList = dynamic_cast<CTestPointList*>(dlg.GetDlgItem(IDC_POINTS));
    ASSERT_NE(pList, nullptr);
    EXPECT_EQ(pList->geometry(), QRect(21, 219, 369, 166));
    // The first load (OnInitDialog) bound the member to it.
    EXPECT_EQ(dlg.m_pList, pList);
    EXPECT_TRUE(recorder.Requests().empty());
}

TEST(DialogBuildTest, BindingAControlToAMemberOfAnotherClassIsReported)
{
    MessageBoxRecorder recorder;
    CFactoryDlg dlg;
    dlg.m_bBindWrongClass = true;
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(dlg.m_pWrong, nullptr);
    ASSERT_EQ(recorder.Requests().size(), 1U);
    EXPECT_EQ(recorder.Requests()[0].m_strText,
              QStringLiteral("Control 1022 is a CListBox, not the class its member expects."));
    EXPECT_FALSE(dlg.UpdateData(false));
}

TEST(DialogBuildTest, FactoryThatThrowsMakesDoModalFailWithAMessage)
{
    MessageBoxRecorder recorder;
    CDialog dlg(IDD_VELMORA_DIALOG);
    dlg.RegisterControlClass(IDC_POINTS, [](QWidget*) -> QWidget* { throw std::runtime_error("No list today."); });
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(recorder.Texts(), std::vector<QString>{QStringLiteral("No list today.")});
}

TEST(DialogBuildTest, UnknownTemplateIsRefused)
{
    EXPECT_THROW(CDialog(4711), std::invalid_argument);
}
