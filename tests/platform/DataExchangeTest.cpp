// The exchange between the main window's controls and members, through real widgets: the number-box rules,
// where a rejected box stops the list, the load formats, combo indexes and the radio group.
#include "ExchangeDlg.h"
#include "TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>

#include <functional>
#include <optional>

#include <gtest/gtest.h>

struct NumberBoxCase {
    const char* m_pszText;
    std::optional<double> m_value; // nothing: rejected
};

static void PrintTo(const NumberBoxCase& c, std::ostream* pOut)
{
    *pOut << '"' << c.m_pszText << '"';
}

class NumberBoxTest : public ::testing::TestWithParam<NumberBoxCase> {};

// The value-on-display box is entry 11 of 12: the entries before it must be saved whatever happens to it,
// the step box after it only when it goes through.
TEST_P(NumberBoxTest, SaveAcceptsOrRejectsTheBox)
{
    const NumberBoxCase& c = GetParam();
    MessageBoxRecorder recorder;
    CExchangeDlg dlg;
    dlg.m_dDisplayValue = 42.0;
    ASSERT_TRUE(dlg.Create());
    ASSERT_TRUE(ShowActive(&dlg));
    dlg.Edit(IDC_UNITS)->setText(QStringLiteral("mV"));
    dlg.Edit(IDC_LOWER)->setText(QStringLiteral("-3"));
    qobject_cast<QComboBox*>(dlg.GetDlgItem(IDC_CHANNEL))->setCurrentIndex(2);
    dlg.Edit(IDC_DISPLAY_VALUE)->setText(QString::fromLatin1(c.m_pszText));
    dlg.Edit(IDC_STEP)->setText(QStringLiteral("0.25"));
    dlg.GetDlgItem(IDOK)->setFocus();

    const bool bSaved = dlg.UpdateData(true);

    // Entries before the box: saved in every case.
    EXPECT_EQ(dlg.m_strUnits, QStringLiteral("mV"));
    EXPECT_EQ(dlg.m_dLower, -3.0);
    EXPECT_EQ(dlg.m_nChannel, 2);
    if (c.m_value) {
        EXPECT_TRUE(bSaved);
        EXPECT_EQ(dlg.m_dDisplayValue, *c.m_value);
        EXPECT_EQ(dlg.m_dStep, 0.25);
        EXPECT_TRUE(recorder.Requests().empty());
        return;
    }
    EXPECT_FALSE(bSaved);
    EXPECT_EQ(dlg.m_dDisplayValue, 42.0); // the rejected member keeps its value
    EXPECT_EQ(dlg.m_dStep, 0.0);          // so does every later one
    ASSERT_EQ(recorder.Requests().size(), 1U);
    const MessageBoxRequest& box = recorder.Requests()[0];
    EXPECT_EQ(box.m_strText, QStringLiteral("Please enter a number."));
    EXPECT_EQ(box.m_nType, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(box.m_strCaption, QStringLiteral(VELMORA_TEST_EXE_NAME));
    QLineEdit* pBox = dlg.Edit(IDC_DISPLAY_VALUE);
    EXPECT_TRUE(WaitFor([&] { return pBox->hasFocus(); }));
    EXPECT_EQ(pBox->selectedText(), pBox->text());
    EXPECT_EQ(pBox->text(), QString::fromLatin1(c.m_pszText)); // the text stays for the user to mend
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NumberBoxTest,
    ::testing::Values(NumberBoxCase{"", std::nullopt}, NumberBoxCase{"-0", std::nullopt},
                      NumberBoxCase{"+0", std::nullopt}, NumberBoxCase{".0", std::nullopt},
                      NumberBoxCase{"12abc", std::nullopt}, NumberBoxCase{"1e", std::nullopt},
                      NumberBoxCase{"abc", std::nullopt}, NumberBoxCase{"7 8", std::nullopt},
                      NumberBoxCase{"0", 0.0}, NumberBoxCase{"0.0", 0.0}, NumberBoxCase{"5.", 5.0},
                      NumberBoxCase{".5", 0.5}, NumberBoxCase{" \t7\t ", 7.0}, NumberBoxCase{"1e2", 100.0},
                      NumberBoxCase{"1E2", 100.0}, NumberBoxCase{"1d2", 100.0}, NumberBoxCase{"1D2", 100.0},
                      NumberBoxCase{"-1.5", -1.5}));

TEST(DataExchangeTest, FirstRejectedBoxStopsTheListWithOneMessage)
{
    MessageBoxRecorder recorder;
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.Edit(IDC_UNITS)->setText(QStringLiteral("bar"));
    dlg.Edit(IDC_LOWER)->setText(QStringLiteral("low"));
    dlg.Edit(IDC_UPPER)->setText(QStringLiteral("10"));
    qobject_cast<QComboBox*>(dlg.GetDlgItem(IDC_PORT))->setCurrentIndex(5);
    qobject_cast<QAbstractButton*>(dlg.GetDlgItem(IDC_NONLINEAR))->click();
    dlg.Edit(IDC_STEP)->setText(QStringLiteral("also bad"));

    EXPECT_FALSE(dlg.UpdateData(true));

    EXPECT_EQ(recorder.Texts(), std::vector<QString>{QStringLiteral("Please enter a number.")});
    EXPECT_EQ(dlg.m_strUnits, QStringLiteral("bar"));
    // Everything from the lower limit on keeps its value, the port and mode among them.
    EXPECT_EQ(dlg.m_dUpper, 0.0);
    EXPECT_EQ(dlg.m_nPort, 0);
    EXPECT_EQ(dlg.m_nMode, 0);
    EXPECT_EQ(dlg.Edit(IDC_LOWER)->selectedText(), QStringLiteral("low"));
}

struct LoadCase {
    double m_dValue;
    const char* m_pszText;
};

class NumberLoadTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(NumberLoadTest, LoadWritesTheShortestFifteenDigitForm)
{
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.m_dDisplayValue = GetParam().m_dValue;
    ASSERT_TRUE(dlg.UpdateData(false));
    EXPECT_EQ(dlg.Edit(IDC_DISPLAY_VALUE)->text(), QString::fromLatin1(GetParam().m_pszText));
}

INSTANTIATE_TEST_SUITE_P(Values, NumberLoadTest,
                         ::testing::Values(LoadCase{0.0, "0"}, LoadCase{2.5, "2.5"}, LoadCase{-1.5, "-1.5"},
                                           LoadCase{100.0, "100"}, LoadCase{0.1 + 0.2, "0.3"},
                                           LoadCase{1e-5, "1e-05"}, LoadCase{1e15, "1e+15"}));

TEST(DataExchangeTest, StartShowsZerosInTheNumberBoxesAndTheMembersChoices)
{
    CExchangeDlg dlg;
    dlg.m_strUnits = QStringLiteral("  deg C ");
    ASSERT_TRUE(dlg.Create()); // OnInitDialog loads
    for (int nId : {IDC_LOWER, IDC_UPPER, IDC_DISPLAY_VALUE, IDC_STEP})
        EXPECT_EQ(dlg.Edit(nId)->text(), QStringLiteral("0")) << nId;
    EXPECT_EQ(dlg.Edit(IDC_UNITS)->text(), QStringLiteral("  deg C "));
    EXPECT_EQ(qobject_cast<QComboBox*>(dlg.GetDlgItem(IDC_PORT))->currentText(), QStringLiteral("    COM1"));
    EXPECT_EQ(qobject_cast<QComboBox*>(dlg.GetDlgItem(IDC_CHANNEL))->currentText(), QStringLiteral("Channel 1"));
    EXPECT_TRUE(qobject_cast<QAbstractButton*>(dlg.GetDlgItem(IDC_LINEAR))->isChecked());
    EXPECT_NE(dlg.m_pListDecimals, nullptr);
    EXPECT_NE(dlg.m_pListPoints, nullptr);
    EXPECT_EQ(dlg.m_pStaticReading, dlg.GetDlgItem(IDC_READING));

    // A save of the untouched window keeps the text exactly, blanks included.
    dlg.m_strUnits.clear();
    ASSERT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.m_strUnits, QStringLiteral("  deg C "));
}

TEST(DataExchangeTest, LongNumberIsLoadedWholeAndSavedBackUnchanged)
{
    // 0.333333333333333 is wider than the step box; cutting it would change the value on the next save.
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.m_dStep = 1.0 / 3.0;
    ASSERT_TRUE(dlg.UpdateData(false));
    EXPECT_EQ(dlg.Edit(IDC_STEP)->text(), QStringLiteral("0.333333333333333"));
    dlg.m_dStep = 0.0;
    ASSERT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.m_dStep, 0.333333333333333);
}

struct IndexCase {
    int m_nLoaded;
    int m_nSaved;      // what a save then gives
    const char* m_pszShown;
};

class ComboIndexTest : public ::testing::TestWithParam<IndexCase> {};

TEST_P(ComboIndexTest, LoadSelectsTheIndexAndSaveReadsItBack)
{
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create());
    auto* pPort = qobject_cast<QComboBox*>(dlg.GetDlgItem(IDC_PORT));
    dlg.m_nPort = GetParam().m_nLoaded;
    ASSERT_TRUE(dlg.UpdateData(false));
    EXPECT_EQ(pPort->currentText(), QString::fromLatin1(GetParam().m_pszShown));
    dlg.m_nPort = 99;
    ASSERT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.m_nPort, GetParam().m_nSaved);
}

INSTANTIATE_TEST_SUITE_P(Indexes, ComboIndexTest,
                         ::testing::Values(IndexCase{0, 0, "    COM1"}, IndexCase{3, 3, "    COM4"},
                                           IndexCase{7, 7, "    COM8"}, IndexCase{8, -1, ""},
                                           IndexCase{-1, -1, ""}, IndexCase{-5, -1, ""},
                                           IndexCase{1000, -1, ""}));

TEST(DataExchangeTest, OutOfRangeIndexClearsAnEarlierSelection)
{
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.m_nPort = 2;
    ASSERT_TRUE(dlg.UpdateData(false));
    dlg.m_nPort = 8;
    ASSERT_TRUE(dlg.UpdateData(false));
    EXPECT_EQ(qobject_cast<QComboBox*>(dlg.GetDlgItem(IDC_PORT))->currentIndex(), -1);
}

struct RadioCase {
    int m_nLoaded;
    bool m_bLinear;
    bool m_bNonlinear;
    int m_nSaved;
};

class RadioTest : public ::testing::TestWithParam<RadioCase> {};

TEST_P(RadioTest, LoadChecksThePositionAndSaveReadsItBack)
{
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create());
    auto* pLinear = qobject_cast<QAbstractButton*>(dlg.GetDlgItem(IDC_LINEAR));
    auto* pNonlinear = qobject_cast<QAbstractButton*>(dlg.GetDlgItem(IDC_NONLINEAR));
    dlg.m_nMode = GetParam().m_nLoaded;
    ASSERT_TRUE(dlg.UpdateData(false));
    EXPECT_EQ(pLinear->isChecked(), GetParam().m_bLinear);
    EXPECT_EQ(pNonlinear->isChecked(), GetParam().m_bNonlinear);
    dlg.m_nMode = 99;
    ASSERT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.m_nMode, GetParam().m_nSaved);
}

INSTANTIATE_TEST_SUITE_P(Positions, RadioTest,
                         ::testing::Values(RadioCase{0, true, false, 0}, RadioCase{1, false, true, 1},
                                           RadioCase{-1, false, false, -1}, RadioCase{2, false, false, -1}));

TEST(DataExchangeTest, RadioGroupStaysExclusiveAfterALoadClearedIt)
{
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.m_nMode = -1;
    ASSERT_TRUE(dlg.UpdateData(false));
    auto* pLinear = qobject_cast<QAbstractButton*>(dlg.GetDlgItem(IDC_LINEAR));
    auto* pNonlinear = qobject_cast<QAbstractButton*>(dlg.GetDlgItem(IDC_NONLINEAR));
    QTest::mouseClick(pNonlinear, Qt::LeftButton);
    QTest::mouseClick(pLinear, Qt::LeftButton);
    EXPECT_TRUE(pLinear->isChecked());
    EXPECT_FALSE(pNonlinear->isChecked());
    ASSERT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.m_nMode, 0);
}

// An exchange list that fails for a reason other than a rejected value.
class CThrowingDlg : public CDialog {
public:
    CThrowingDlg() : CDialog(IDD_VELMORA_DIALOG) {}
    std::function<void()> m_fnThrow;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        if (pDX->m_bSaveAndValidate && m_fnThrow)
            m_fnThrow();
    }
};

TEST(DataExchangeTest, OtherFailuresAreReportedAndGiveFalse)
{
    struct Case {
        std::function<void()> m_fnThrow;
        QString m_strText;
    };
    const std::vector<Case> aCases = {
        {[] { throw std::runtime_error("Out of luck."); }, QStringLiteral("Out of luck.")},
        {[] { throw std::bad_alloc(); }, QStringLiteral("std::bad_alloc")},
        {[] { throw 7; }, QStringLiteral("Internal application error.")},
    };
    for (const Case& c : aCases) {
        MessageBoxRecorder recorder;
        CThrowingDlg dlg;
        ASSERT_TRUE(dlg.Create());
        dlg.m_fnThrow = c.m_fnThrow;
        EXPECT_FALSE(dlg.UpdateData(true));
        ASSERT_EQ(recorder.Requests().size(), 1U);
        EXPECT_EQ(recorder.Requests()[0].m_strText, c.m_strText);
    }
}
