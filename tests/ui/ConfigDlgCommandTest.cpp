// "Set", "Clear All", "+" and "-" of the main window in nonlinear mode, clicked for real.
#include "WindowFixture.h"

#include "CaseName.h"
#include "CellEdit.h"
#include "EventWait.h"

#include <QApplication>
#include <QTest>

#include <ostream>

namespace
{
// Nonlinear mode entered by a click, the port open on the pseudo-terminal; no reading has arrived.
class NonlinearFixture : public OpenWindowFixture {
protected:
    void SetUp() override
    {
        OpenWindowFixture::SetUp();
        if (HasFatalFailure())
            return;
        Click(IDC_NONLINEAR);
        ASSERT_TRUE(m_pDlg->m_link.IsPolling());
    }

    const QString strRejected = QStringLiteral("Please enter a number.");
};

struct SetCase {
    const char* m_szTyped;
    const char* m_szRecorded;
};

void PrintTo(const SetCase& c, std::ostream* pOut)
{
    *pOut << '"' << c.m_szTyped << '"';
}

class SetValueTest : public NonlinearFixture, public ::testing::WithParamInterface<SetCase> {};
}  // namespace

TEST_P(SetValueTest, RecordsTheValueOnDisplayWithFourDecimals)
{
    TypeInto(IDC_DISPLAY_VALUE, QString::fromLatin1(GetParam().m_szTyped));
    Click(IDC_SET);
    // Before any answer of the unit the reading is 0.
    EXPECT_EQ(PointRows(), QStringList{QStringLiteral("0|0|") + QString::fromLatin1(GetParam().m_szRecorded)});
    EXPECT_TRUE(m_aBoxes.empty()) << BoxTexts().join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Values, SetValueTest,
                         ::testing::Values(SetCase{"2.5", "2.5000"}, SetCase{"-3", "-3.0000"},
                                           SetCase{"1e2", "100.0000"}, SetCase{"10.00005", "10.0001"},
                                           SetCase{"-0.00001", "-0.0000"}, SetCase{"123456.78", "123456.7800"}));

TEST_F(NonlinearFixture, SetNumbersRowsFromZeroAndAgainAfterClearAll)
{
    for (const char* szValue : {"1", "2", "3"}) {
        TypeInto(IDC_DISPLAY_VALUE, QString::fromLatin1(szValue));
        Click(IDC_SET);
    }
    EXPECT_EQ(PointRows(), (QStringList{"0|0|1.0000", "1|0|2.0000", "2|0|3.0000"}));

    Click(IDC_CLEAR_ALL);
    EXPECT_TRUE(PointRows().isEmpty());

    Click(IDC_SET);
    Click(IDC_SET);
    EXPECT_EQ(PointRows(), (QStringList{"0|0|3.0000", "1|0|3.0000"}));
    EXPECT_TRUE(m_aBoxes.empty()) << BoxTexts().join('\n').toStdString();
}

TEST_F(NonlinearFixture, SetWithLettersStillAppendsThePreviousValue)
{
    TypeInto(IDC_DISPLAY_VALUE, QStringLiteral("1.5"));
    Click(IDC_SET);
    TypeInto(IDC_DISPLAY_VALUE, QStringLiteral("abc"));
    Click(IDC_SET);

    ASSERT_EQ(m_aBoxes.size(), 1u);
    EXPECT_EQ(m_aBoxes[0].m_strText, strRejected);
    EXPECT_EQ(m_aBoxes[0].m_strCaption, TestAppTitle());
    EXPECT_EQ(m_aBoxes[0].m_nType, MB_OK | MB_ICONEXCLAMATION);
    // The focus is back in the rejected box, its text selected for retyping.
    QLineEdit* pValue = Edit(IDC_DISPLAY_VALUE);
    EXPECT_EQ(QApplication::focusWidget(), pValue);
    EXPECT_EQ(pValue->selectedText(), QStringLiteral("abc"));
    EXPECT_EQ(PointRows(), (QStringList{"0|0|1.5000", "1|0|1.5000"}));
}

namespace
{
struct StepCase {
    const char* m_szValue;
    const char* m_szStep;
    const char* m_szClicks;  // + and -
    const char* m_szShown;   // the value box afterwards
};

void PrintTo(const StepCase& c, std::ostream* pOut)
{
    *pOut << c.m_szValue << " step " << c.m_szStep << " clicks " << c.m_szClicks;
}

class StepTest : public NonlinearFixture, public ::testing::WithParamInterface<StepCase> {};
}  // namespace

TEST_P(StepTest, PlusAndMinusMoveTheValueByTheStep)
{
    const StepCase& c = GetParam();
    TypeInto(IDC_DISPLAY_VALUE, QString::fromLatin1(c.m_szValue));
    TypeInto(IDC_STEP, QString::fromLatin1(c.m_szStep));
    for (const char* p = c.m_szClicks; *p != '\0'; ++p)
        Click(*p == '+' ? IDC_STEP_UP : IDC_STEP_DOWN);
    EXPECT_EQ(Edit(IDC_DISPLAY_VALUE)->text(), QString::fromLatin1(c.m_szShown));
    EXPECT_TRUE(m_aBoxes.empty()) << BoxTexts().join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Steps, StepTest,
    ::testing::Values(StepCase{"0", "2", "+", "2"}, StepCase{"7", "2", "-", "5"}, StepCase{"0", "0.1", "-", "-0.1"},
                      StepCase{"0", "0.1", "+++", "0.3"}, StepCase{"1", "0.25", "++-", "1.25"},
                      // A typed value is taken up, and shown again in the shortest form.
                      StepCase{"1.50", "0", "+", "1.5"}, StepCase{"0", "1e15", "+", "1e+15"}));

TEST_F(NonlinearFixture, AThousandPlusClicksOfATenthFromZeroShowOneHundred)
{
    TypeInto(IDC_STEP, QStringLiteral("0.1"));
    QPushButton* pPlus = Button(IDC_STEP_UP);
    for (int nClick = 0; nClick < 1000; ++nClick)
        QTest::mouseClick(pPlus, Qt::LeftButton);
    // Each click starts from the value as shown, so the error of plain repeated addition never builds up.
    EXPECT_EQ(Edit(IDC_DISPLAY_VALUE)->text(), QStringLiteral("100"));
    EXPECT_EQ(m_pDlg->m_dDisplayValue, 100.0);
    EXPECT_TRUE(m_aBoxes.empty());
}

TEST_F(NonlinearFixture, PlusWithALetterInTheStepUsesThePreviousStepAndShowsIt)
{
    TypeInto(IDC_DISPLAY_VALUE, QStringLiteral("5"));
    TypeInto(IDC_STEP, QStringLiteral("2"));
    Click(IDC_STEP_UP);
    ASSERT_EQ(Edit(IDC_DISPLAY_VALUE)->text(), QStringLiteral("7"));

    TypeInto(IDC_STEP, QStringLiteral("x"));
    Click(IDC_STEP_UP);
    EXPECT_EQ(BoxTexts(), QStringList{strRejected});
    EXPECT_EQ(Edit(IDC_DISPLAY_VALUE)->text(), QStringLiteral("9"));
    EXPECT_EQ(Edit(IDC_STEP)->text(), QStringLiteral("2"));
}

TEST_F(NonlinearFixture, MinusWithLettersInTheValueStepsFromThePreviousValue)
{
    TypeInto(IDC_DISPLAY_VALUE, QStringLiteral("10"));
    TypeInto(IDC_STEP, QStringLiteral("3"));
    Click(IDC_STEP_DOWN);
    ASSERT_EQ(Edit(IDC_DISPLAY_VALUE)->text(), QStringLiteral("7"));

    // The value box comes before the step in the exchange: the typed step is not taken either.
    TypeInto(IDC_DISPLAY_VALUE, QStringLiteral("1x"));
    TypeInto(IDC_STEP, QStringLiteral("1"));
    Click(IDC_STEP_DOWN);
    EXPECT_EQ(BoxTexts(), QStringList{strRejected});
    EXPECT_EQ(Edit(IDC_DISPLAY_VALUE)->text(), QStringLiteral("4"));
    EXPECT_EQ(Edit(IDC_STEP)->text(), QStringLiteral("3"));
}

TEST_F(NonlinearFixture, ChannelChoiceIsTakenWithoutTouchingTheDisplay)
{
    m_pDlg->m_staticReading->setText(QStringLiteral("321"));
    PickFromCombo(IDC_CHANNEL, 1);
    EXPECT_EQ(m_pDlg->m_nChannel, 1);
    EXPECT_EQ(m_pDlg->m_staticReading->text(), QStringLiteral("321"));
    EXPECT_TRUE(m_aBoxes.empty()) << BoxTexts().join('\n').toStdString();
}

namespace
{
struct CellKeyCase {
    const char* m_szName;
    int m_nColumn;
    Qt::Key m_key;
    Qt::KeyboardModifiers m_modifiers;
    const char* m_szRow;  // the edited row afterwards
};

class CellKeyTest : public NonlinearFixture, public ::testing::WithParamInterface<CellKeyCase> {};
}  // namespace

TEST_P(CellKeyTest, KeysThatEndACellEditStayInTheList)
{
    // Enter and Escape end the edit; they must not reach "Exit" (the default button) or close the window.
    const CellKeyCase& c = GetParam();
    TypeInto(IDC_DISPLAY_VALUE, QStringLiteral("4"));
    Click(IDC_SET);
    Click(IDC_SET);
    CCellEdit* pEditor = DoubleClickCell(1, c.m_nColumn);
    ASSERT_NE(pEditor, nullptr);
    QTest::keyClick(pEditor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(pEditor, QStringLiteral("12.5"));
    QTest::keyClick(pEditor, c.m_key, c.m_modifiers);

    ASSERT_TRUE(WaitFor([this] { return OpenEditor() == nullptr; }, 5000));
    EXPECT_TRUE(m_pDlg->isVisible());
    EXPECT_EQ(m_pDlg->result(), 0);
    EXPECT_EQ(PointRows(), (QStringList{QStringLiteral("0|0|4.0000"), QString::fromLatin1(c.m_szRow)}));
    EXPECT_TRUE(m_aBoxes.empty()) << BoxTexts().join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CellKeyTest,
    ::testing::Values(CellKeyCase{"Return stores the value", 2, Qt::Key_Return, Qt::NoModifier, "1|0|12.5000"},
                      CellKeyCase{"keypad Enter stores", 2, Qt::Key_Enter, Qt::KeypadModifier, "1|0|12.5000"},
                      CellKeyCase{"Escape cancels", 2, Qt::Key_Escape, Qt::NoModifier, "1|0|4.0000"},
                      // An edited reading keeps its text as typed.
                      CellKeyCase{"Return stores a reading", 1, Qt::Key_Return, Qt::NoModifier, "1|12.5|4.0000"}),
    [](const auto& info) { return CaseName(info.param.m_szName); });

TEST_F(NonlinearFixture, DoubleClickOnTheNumberOpensNoEditor)
{
    Click(IDC_SET);
    EXPECT_EQ(DoubleClickCell(0, 0), nullptr);
    EXPECT_EQ(PointRows(), QStringList{QStringLiteral("0|0|0.0000")});
}
