// The decimals scroller: a one-row list box whose arrows scroll the visible item, whose keys move selection and
// view together, and whose click only selects. Driven with real mouse clicks and keys.
#include "ListBox.h"
#include "ExchangeDlg.h"
#include "ScrollArrows.h"
#include "TestSupport.h"

#include <QTest>

#include <string>

#include <gtest/gtest.h>

class ScrollerFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dlg.Create());
        ASSERT_TRUE(ShowActive(&m_dlg));
        m_pList = m_dlg.m_pListDecimals;
        ASSERT_NE(m_pList, nullptr);
        for (const char* psz : {"0", "1", "2", "3", "4"})
            m_pList->AddString(QString::fromLatin1(psz));
        // Selecting scrolls the item into the one visible row.
        ASSERT_EQ(m_pList->SetCurSel(2), 2);
        ASSERT_TRUE(WaitFor([this] { return m_pList->GetTopIndex() == 2; }));
    }

    void ClickArrow(char chArrow)
    {
        CScrollArrows* pArrows = m_pList->ScrollArrows();
        const QRect rc = chArrow == 'u' ? pArrows->UpArrowRect() : pArrows->DownArrowRect();
        QTest::mouseClick(pArrows, Qt::LeftButton, {}, rc.center());
    }

    // The item actually drawn in the row.
    int ShownRow() const { return m_pList->indexAt(QPoint(2, 2)).row(); }

    CExchangeDlg m_dlg;
    CListBox* m_pList = nullptr;
};

TEST_F(ScrollerFixture, ShowsOneRowWithTheArrowsBesideIt)
{
    EXPECT_EQ(ShownRow(), 2);
    EXPECT_EQ(m_pList->indexAt(QPoint(2, m_pList->viewport()->height() - 1)).row(), 2);
    CScrollArrows* pArrows = m_pList->ScrollArrows();
    EXPECT_TRUE(pArrows->isVisible());
    EXPECT_GE(pArrows->UpArrowRect().height(), 6);
    EXPECT_GE(pArrows->DownArrowRect().height(), 6);
    // The arrows sit inside the box, right of the items.
    EXPECT_TRUE(m_pList->rect().contains(pArrows->geometry()));
    EXPECT_LE(m_pList->viewport()->geometry().right(), pArrows->geometry().left());
}

struct ArrowCase {
    const char* m_pszClicks; // u = up arrow, d = down arrow
    int m_nTop;
};

class ArrowTest : public ScrollerFixture, public ::testing::WithParamInterface<ArrowCase> {};

TEST_P(ArrowTest, ArrowsMoveTheVisibleItemWithinTheItemsAndLeaveTheSelection)
{
    for (const char* p = GetParam().m_pszClicks; *p != '\0'; ++p)
        ClickArrow(*p);
    EXPECT_EQ(m_pList->GetTopIndex(), GetParam().m_nTop);
    EXPECT_EQ(ShownRow(), GetParam().m_nTop);
    EXPECT_EQ(m_pList->GetCurSel(), 2);
}

INSTANTIATE_TEST_SUITE_P(Clicks, ArrowTest,
                         ::testing::Values(ArrowCase{"d", 3}, ArrowCase{"u", 1}, ArrowCase{"dd", 4},
                                           ArrowCase{"ddddddd", 4}, ArrowCase{"uu", 0}, ArrowCase{"uuuuuuu", 0},
                                           ArrowCase{"uuuuud", 1}, ArrowCase{"dddddu", 3}, ArrowCase{"du", 2}));

TEST_F(ScrollerFixture, HeldArrowRepeatsUntilTheEnd)
{
    CScrollArrows* pArrows = m_pList->ScrollArrows();
    QTest::mousePress(pArrows, Qt::LeftButton, {}, pArrows->DownArrowRect().center());
    EXPECT_TRUE(WaitFor([this] { return m_pList->GetTopIndex() == 4; }));
    QTest::mouseRelease(pArrows, Qt::LeftButton, {}, pArrows->DownArrowRect().center());
    EXPECT_EQ(m_pList->GetCurSel(), 2);
}

struct KeyCase {
    Qt::Key m_key;
    int m_nExpected; // selection and top index after the key
};

class ScrollerKeyTest : public ScrollerFixture, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(ScrollerKeyTest, KeysMoveSelectionAndVisibleItemTogether)
{
    // Scroll the selection out of view first: the key must bring it back along.
    ClickArrow('u');
    ClickArrow('u');
    m_pList->setFocus();
    ASSERT_TRUE(WaitFor([this] { return m_pList->hasFocus(); }));
    QTest::keyClick(m_pList, GetParam().m_key);
    EXPECT_EQ(m_pList->GetCurSel(), GetParam().m_nExpected);
    EXPECT_EQ(m_pList->GetTopIndex(), GetParam().m_nExpected);
    EXPECT_EQ(ShownRow(), GetParam().m_nExpected);
}

INSTANTIATE_TEST_SUITE_P(Keys, ScrollerKeyTest,
                         ::testing::Values(KeyCase{Qt::Key_Down, 3}, KeyCase{Qt::Key_Up, 1},
                                           KeyCase{Qt::Key_Home, 0}, KeyCase{Qt::Key_End, 4}));

TEST_F(ScrollerFixture, ClickOnTheVisibleItemOnlySelectsIt)
{
    ClickArrow('d');
    ClickArrow('d');
    ASSERT_EQ(m_pList->GetTopIndex(), 4);
    QTest::mouseClick(m_pList->viewport(), Qt::LeftButton, {}, m_pList->viewport()->rect().center());
    EXPECT_EQ(m_pList->GetCurSel(), 4);
    EXPECT_EQ(m_pList->GetTopIndex(), 4);
}

TEST_F(ScrollerFixture, ProgramCallsKeepToTheList)
{
    EXPECT_EQ(m_pList->SetTopIndex(0), 0);
    EXPECT_EQ(m_pList->GetTopIndex(), 0);
    EXPECT_EQ(m_pList->SetTopIndex(5), -1);
    EXPECT_EQ(m_pList->GetTopIndex(), 0);
    EXPECT_EQ(m_pList->SetCurSel(4), 4);
    EXPECT_EQ(m_pList->GetTopIndex(), 4);
    EXPECT_EQ(m_pList->SetCurSel(1), 1);
    EXPECT_EQ(m_pList->GetTopIndex(), 1);
    EXPECT_EQ(m_pList->SetCurSel(9), -1);
    EXPECT_EQ(m_pList->GetCurSel(), -1);
    EXPECT_EQ(m_pList->GetCount(), 5);
    EXPECT_EQ(m_pList->GetText(3), QStringLiteral("3"));
    EXPECT_EQ(m_pList->GetText(5), QString());
    m_pList->ResetContent();
    EXPECT_EQ(m_pList->GetCount(), 0);
    EXPECT_EQ(m_pList->GetTopIndex(), 0);
}

TEST(ListBoxTest, SelectionMadeBeforeTheWindowShowsIsTheVisibleItem)
{
    // OnInitDialog fills and selects before the window is first shown.
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create());
    CListBox* pList = dlg.m_pListDecimals;
    ASSERT_NE(pList, nullptr);
    for (const char* psz : {"0", "1", "2", "3", "4"})
        pList->AddString(QString::fromLatin1(psz));
    pList->SetCurSel(2);
    EXPECT_EQ(pList->GetTopIndex(), 2);
    ASSERT_TRUE(ShowActive(&dlg));
    EXPECT_TRUE(WaitFor([&] { return pList->indexAt(QPoint(2, 2)).row() == 2; }));
    EXPECT_EQ(pList->GetTopIndex(), 2);
    EXPECT_EQ(pList->GetCurSel(), 2);
}
