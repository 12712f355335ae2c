#include "CellEdit.h"
#include "EndLabelEditInfo.h"
#include "PointListCtrl.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTest>

#include <algorithm>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace
{
// Polls until the condition holds or the deadline passes; deferred deletes run in between.
template <typename Pred>
bool WaitFor(Pred pred, int nMs = 5000)
{
    const QDeadlineTimer deadline(nMs);
    while (!pred())
    {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(5);
    }
    return true;
}

// The main window's layout: "Number" right-aligned 53 px, the two value columns centred, 90 and 170 px.
constexpr int kWidthNumber = 53;
constexpr int kWidthPic = 90;
constexpr int kWidthDisplay = 170;
constexpr int kRowWidth = kWidthNumber + kWidthPic + kWidthDisplay;

// A dialog holding the point list the way the main window does: columns and styles as at its start, an "Exit"
// default button, a "Set" button, window shortcuts on Return and Escape, and the double-click routed to the
// list's edit-at-position contract.
class PointListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pDlg = std::make_unique<QDialog>();
        m_pDlg->resize(380, 260);
        m_pList = new CPointListCtrl(m_pDlg.get());
        m_pList->setGeometry(10, 10, 340, 165);
        m_pList->SetExtendedStyle(CPointListCtrl::StyleGridLines | CPointListCtrl::StyleFullRowSelect);
        m_pList->InsertColumn(0, QStringLiteral("Number"), CPointListCtrl::FormatRight, kWidthNumber);
        m_pList->InsertColumn(1, QStringLiteral("Value From PIC"), CPointListCtrl::FormatCenter, kWidthPic);
        m_pList->InsertColumn(2, QStringLiteral("Value On Display"), CPointListCtrl::FormatCenter, kWidthDisplay);

        m_pSet = new QPushButton(QStringLiteral("Set"), m_pDlg.get());
        m_pSet->setGeometry(10, 200, 80, 30);
        m_pExit = new QPushButton(QStringLiteral("Exit"), m_pDlg.get());
        m_pExit->setGeometry(120, 200, 80, 30);
        m_pExit->setDefault(true);
        QObject::connect(m_pExit, &QPushButton::clicked, [this] { ++m_nExitClicks; });
        QObject::connect(m_pExit, &QPushButton::clicked, m_pDlg.get(), &QDialog::accept);
        QObject::connect(m_pSet, &QPushButton::clicked, [this] { ++m_nSetClicks; });
        for (const auto key : {Qt::Key_Return, Qt::Key_Escape})
        {
            auto* pShortcut = new QShortcut(QKeySequence(key), m_pDlg.get());
            QObject::connect(pShortcut, &QShortcut::activated, [this] { ++m_nShortcuts; });
        }
        QObject::connect(m_pList, &CPointListCtrl::DblClk, [this](const QPoint& ptGlobal) {
            ++m_nDblClks;
            m_pList->EditCellAt(ptGlobal);
        });
    }

    void TearDown() override
    {
        m_pDlg.reset();
        QTest::qWait(0);
    }

    // What "Set" does: a row at the end numbered by its index, a reading and a display value.
    void AddRows(int nCount)
    {
        for (int n = 0; n < nCount; ++n)
        {
            const int nRow = m_pList->GetItemCount();
            m_pList->InsertItem(nRow, QString::number(nRow));
            m_pList->SetItemText(nRow, 1, QString::number(100 + 10 * nRow));
            m_pList->SetItemText(nRow, 2, QString::number(1.5 * nRow, 'f', 4));
        }
    }

    void Show()
    {
        m_pDlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pDlg.get()));
        m_pDlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_pDlg.get()));
        Settle();
    }

    // Lets pending layout (scroll ranges, scroll bar visibility) catch up with size and width changes.
    void Settle()
    {
        ASSERT_TRUE(WaitFor([this] {
            const QScrollBar* pHBar = m_pList->horizontalScrollBar();
            const QScrollBar* pVBar = m_pList->verticalScrollBar();
            return pHBar->maximum() == std::max(0, m_pList->horizontalHeader()->length() - ClientWidth()) &&
                   pHBar->isVisible() == (pHBar->maximum() > 0) && pVBar->isVisible() == (pVBar->maximum() > 0);
        }));
    }

    int ClientWidth() const { return m_pList->viewport()->width(); }
    int RowHeight() const { return m_pList->rowHeight(0); }

    // Client point in a row (counted from the top visible row) at x pixels from the start of the row.
    QPoint RowPoint(int nVisibleRow, int nX) const
    {
        return QPoint(nX - m_pList->horizontalScrollBar()->value(), nVisibleRow * RowHeight() + RowHeight() / 2);
    }

    // A user's double-click: the first click focuses the list, the second is the double-click.
    void DoubleClick(const QPoint& ptClient)
    {
        QWidget* pViewport = m_pList->viewport();
        QTest::mouseClick(pViewport, Qt::LeftButton, {}, ptClient);
        QTest::mouseDClick(pViewport, Qt::LeftButton, {}, ptClient);
        QTest::mouseRelease(pViewport, Qt::LeftButton, {}, ptClient);
    }

    CCellEdit* OpenEditor() const
    {
        for (CCellEdit* pEdit : m_pList->viewport()->findChildren<CCellEdit*>())
            if (pEdit->isVisible())
                return pEdit;
        return nullptr;
    }

    CCellEdit* DoubleClickCell(int nRow, int nX)
    {
        DoubleClick(RowPoint(nRow - m_pList->rowAt(0), nX));
        return OpenEditor();
    }

    // Opens the editor on a cell, types and ends with Return, as a user corrects a point.
    void EditAndReturn(int nRow, int nX, const QString& strTyped)
    {
        CCellEdit* pEdit = DoubleClickCell(nRow, nX);
        ASSERT_NE(pEdit, nullptr);
        QTest::keyClicks(pEdit, strTyped);
        QTest::keyClick(pEdit, Qt::Key_Return);
        ASSERT_TRUE(WaitFor([this] { return OpenEditor() == nullptr; }));
    }

    std::unique_ptr<QDialog> m_pDlg;
    CPointListCtrl* m_pList = nullptr;
    QPushButton* m_pSet = nullptr;
    QPushButton* m_pExit = nullptr;
    int m_nExitClicks = 0;
    int m_nSetClicks = 0;
    int m_nShortcuts = 0;
    int m_nDblClks = 0;
};

// ---------------------------------------------------------------------------------------------------------------
// Where a double-click opens an editor.

struct DblClickCase
{
    std::string m_strName;
    int m_nRows;
    int m_nVisibleRow;  // row slot from the top of the page, may lie below the last row
    int m_nX;           // pixels from the left of the row
    int m_nExpectedColumn;  // -1: nothing opens
};

void PrintTo(const DblClickCase& c, std::ostream* pOut)
{
    *pOut << c.m_strName;
}

class DoubleClickTest : public PointListTest, public ::testing::WithParamInterface<DblClickCase>
{
};

TEST_P(DoubleClickTest, OpensAnEditorOnlyOverAValueCell)
{
    const DblClickCase& c = GetParam();
    AddRows(c.m_nRows);
    Show();

    DoubleClick(RowPoint(c.m_nVisibleRow, c.m_nX));
    EXPECT_EQ(m_nDblClks, 1);

    CCellEdit* pEdit = OpenEditor();
    if (c.m_nExpectedColumn < 0)
    {
        EXPECT_EQ(pEdit, nullptr);
        return;
    }
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(pEdit->m_nItem, c.m_nVisibleRow);
    EXPECT_EQ(pEdit->m_nSubItem, c.m_nExpectedColumn);
    const QString strCell = m_pList->GetItemText(c.m_nVisibleRow, c.m_nExpectedColumn);
    EXPECT_EQ(pEdit->m_strInitText, strCell);
    EXPECT_EQ(pEdit->text(), strCell);
    EXPECT_EQ(pEdit->selectedText(), strCell);
    EXPECT_FALSE(pEdit->m_bEscaped);
    EXPECT_TRUE(pEdit->hasFocus());
    EXPECT_EQ(pEdit->objectName(), QStringLiteral("32000"));
    EXPECT_EQ(pEdit->parentWidget(), m_pList->viewport());
    EXPECT_EQ(pEdit->font(), m_pList->font());
}

INSTANTIATE_TEST_SUITE_P(
    Cells, DoubleClickTest,
    ::testing::Values(DblClickCase{"NumberCell", 3, 1, 20, -1},
                      DblClickCase{"BorderOfNumberAndPicIsNumber", 3, 1, kWidthNumber, -1},
                      DblClickCase{"FirstPixelOfPic", 3, 1, kWidthNumber + 1, 1},
                      DblClickCase{"ValueFromPicCell", 3, 1, 100, 1},
                      DblClickCase{"BorderOfPicAndDisplayIsPic", 3, 0, kWidthNumber + kWidthPic, 1},
                      DblClickCase{"FirstPixelOfDisplay", 3, 0, kWidthNumber + kWidthPic + 1, 2},
                      DblClickCase{"ValueOnDisplayCell", 3, 2, 250, 2},
                      DblClickCase{"LastPixelOfRow", 3, 2, kRowWidth - 1, 2},
                      DblClickCase{"RightOfLastColumn", 3, 2, kRowWidth, -1},
                      DblClickCase{"BelowLastRow", 3, 3, 100, -1}, DblClickCase{"EmptyList", 0, 0, 100, -1}),
    [](const auto& info) { return info.param.m_strName; });

TEST_F(PointListTest, DoubleClickHitsTheVisiblePageIncludingThePartlyVisibleRow)
{
    AddRows(40);
    Show();
    // Make the page end inside a row, so a partly visible row sits below it.
    const int nRowHeight = RowHeight();
    if (m_pList->viewport()->height() % nRowHeight == 0)
        m_pList->resize(m_pList->width(), m_pList->height() + nRowHeight / 2);
    ASSERT_TRUE(WaitFor([&] { return m_pList->viewport()->height() % nRowHeight != 0; }));
    m_pList->verticalScrollBar()->setValue(10);
    ASSERT_EQ(m_pList->rowAt(0), 10);
    const int nFullRows = m_pList->viewport()->height() / nRowHeight;

    CCellEdit* pEdit = DoubleClickCell(10, 100);
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(pEdit->m_nItem, 10);

    // The last pixel line of the rows area lies in the partly visible row.
    DoubleClick(QPoint(250, m_pList->viewport()->height() - 1));
    pEdit = OpenEditor();
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(pEdit->m_nItem, 10 + nFullRows);
    EXPECT_EQ(pEdit->m_nSubItem, 2);
}

TEST_F(PointListTest, DisabledListOpensNothing)
{
    AddRows(3);
    Show();
    m_pList->setEnabled(false);

    DoubleClick(RowPoint(1, 100));
    EXPECT_EQ(m_nDblClks, 0);
    EXPECT_EQ(m_pList->EditCellAt(m_pList->viewport()->mapToGlobal(RowPoint(1, 100))), nullptr);
    EXPECT_EQ(OpenEditor(), nullptr);
}

// ---------------------------------------------------------------------------------------------------------------
// What an edit stores.

struct StoreCase
{
    int m_nColumn;
    QString m_strTyped;
    QString m_strExpected;
};

void PrintTo(const StoreCase& c, std::ostream* pOut)
{
    *pOut << "column " << c.m_nColumn << " typed \"" << c.m_strTyped.toStdString() << "\"";
}

class StoreTest : public PointListTest, public ::testing::WithParamInterface<StoreCase>
{
};

TEST_P(StoreTest, ReturnStoresTheTypedText)
{
    const StoreCase& c = GetParam();
    AddRows(3);
    Show();
    const int nX = c.m_nColumn == 1 ? kWidthNumber + 20 : kWidthNumber + kWidthPic + 20;

    EditAndReturn(1, nX, c.m_strTyped);

    EXPECT_EQ(m_pList->GetItemText(1, c.m_nColumn), c.m_strExpected);
    EXPECT_EQ(m_pList->GetItemText(1, 0), QStringLiteral("1"));
    EXPECT_EQ(m_pList->GetItemText(0, 1), QStringLiteral("100"));
    EXPECT_EQ(m_pList->GetItemText(0, 2), QStringLiteral("0.0000"));
}

// "." is the only decimal point, and only the leading number counts.
INSTANTIATE_TEST_SUITE_P(ValueOnDisplayKeepsFourDecimals, StoreTest,
                         ::testing::Values(StoreCase{2, "12.5", "12.5000"}, StoreCase{2, "abc", "0.0000"},
                                           StoreCase{2, "3,7", "3.0000"}, StoreCase{2, "12abc", "12.0000"},
                                           StoreCase{2, "  -0.25", "-0.2500"}, StoreCase{2, "1e2", "100.0000"},
                                           StoreCase{2, "1e999", "1e999"}));

INSTANTIATE_TEST_SUITE_P(ValueFromPicKeepsTheTextAsTyped, StoreTest,
                         ::testing::Values(StoreCase{1, "  512", "  512"}, StoreCase{1, "12ab ", "12ab "},
                                           StoreCase{1, "abc", "abc"}));

TEST_F(PointListTest, NumbersStayInOrderAfterEdits)
{
    AddRows(4);
    Show();
    for (int nRow = 3; nRow >= 0; --nRow)
    {
        EditAndReturn(nRow, kWidthNumber + 20, QStringLiteral("p%1").arg(nRow));
        EditAndReturn(nRow, kWidthNumber + kWidthPic + 20, QString::number(nRow * 2.25));
    }
    // A double-click on a number opens nothing, so the numbers cannot be edited either.
    EXPECT_EQ(DoubleClickCell(2, 20), nullptr);

    ASSERT_EQ(m_pList->GetItemCount(), 4);
    for (int nRow = 0; nRow < 4; ++nRow)
    {
        EXPECT_EQ(m_pList->GetItemText(nRow, 0), QString::number(nRow));
        EXPECT_EQ(m_pList->GetItemText(nRow, 1), QStringLiteral("p%1").arg(nRow));
        EXPECT_EQ(m_pList->GetItemText(nRow, 2), QString::number(nRow * 2.25, 'f', 4));
    }
}

// ---------------------------------------------------------------------------------------------------------------
// How an edit ends: Escape cancels, every other loss of focus stores, and the dialog never sees Return or Escape.

enum class Ending
{
    Return,
    KeypadEnter,
    Escape,
    ClickOnSet,
    ClickOnOtherRow,
    Tab,
    OtherWindowActivated,
};

struct EndingCase
{
    std::string m_strName;
    Ending m_ending;
    bool m_bStores;
};

void PrintTo(const EndingCase& c, std::ostream* pOut)
{
    *pOut << c.m_strName;
}

class EndingTest : public PointListTest, public ::testing::WithParamInterface<EndingCase>
{
};

TEST_P(EndingTest, EndsTheEditWithoutReachingTheDialog)
{
    const EndingCase& c = GetParam();
    AddRows(3);
    Show();
    const QString strOld = m_pList->GetItemText(1, 2);
    QPointer<CCellEdit> pEdit = DoubleClickCell(1, kWidthNumber + kWidthPic + 20);
    ASSERT_FALSE(pEdit.isNull());
    QTest::keyClicks(pEdit, QStringLiteral("42"));

    // The cell must already hold its final text when the editor goes away.
    std::optional<QString> strAtDestruction;
    QObject::connect(pEdit, &QObject::destroyed, [&] { strAtDestruction = m_pList->GetItemText(1, 2); });

    std::unique_ptr<QWidget> pOther;
    switch (c.m_ending)
    {
    case Ending::Return:
        QTest::keyClick(pEdit, Qt::Key_Return);
        break;
    case Ending::KeypadEnter:
        QTest::keyClick(pEdit, Qt::Key_Enter, Qt::KeypadModifier);
        break;
    case Ending::Escape:
        QTest::keyClick(pEdit, Qt::Key_Escape);
        break;
    case Ending::ClickOnSet:
        QTest::mouseClick(m_pSet, Qt::LeftButton);
        EXPECT_EQ(m_nSetClicks, 1);
        break;
    case Ending::ClickOnOtherRow:
        QTest::mouseClick(m_pList->viewport(), Qt::LeftButton, {}, RowPoint(0, 20));
        break;
    case Ending::Tab:
        QTest::keyClick(pEdit, Qt::Key_Tab);
        break;
    case Ending::OtherWindowActivated:
        pOther = std::make_unique<QWidget>();
        pOther->resize(100, 100);
        pOther->show();
        pOther->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(pOther.get()));
        break;
    }

    ASSERT_TRUE(WaitFor([&] { return pEdit.isNull(); }));
    const QString strExpected = c.m_bStores ? QStringLiteral("42.0000") : strOld;
    ASSERT_TRUE(strAtDestruction.has_value());
    EXPECT_EQ(*strAtDestruction, strExpected);
    EXPECT_EQ(m_pList->GetItemText(1, 2), strExpected);
    EXPECT_EQ(m_pList->GetItemText(1, 0), QStringLiteral("1"));

    EXPECT_TRUE(m_pDlg->isVisible());
    EXPECT_EQ(m_pDlg->result(), 0);
    EXPECT_EQ(m_nExitClicks, 0);
    EXPECT_EQ(m_nShortcuts, 0);
}

INSTANTIATE_TEST_SUITE_P(Endings, EndingTest,
                         ::testing::Values(EndingCase{"Return", Ending::Return, true},
                                           EndingCase{"KeypadEnter", Ending::KeypadEnter, true},
                                           EndingCase{"Escape", Ending::Escape, false},
                                           EndingCase{"ClickOnSet", Ending::ClickOnSet, true},
                                           EndingCase{"ClickOnOtherRow", Ending::ClickOnOtherRow, true},
                                           EndingCase{"Tab", Ending::Tab, true},
                                           EndingCase{"OtherWindowActivated", Ending::OtherWindowActivated,
                                                      true}),
                         [](const auto& info) { return info.param.m_strName; });

TEST_F(PointListTest, ReturnAndEscapeGoToTheListWhichKeepsTheFocus)
{
    AddRows(3);
    Show();
    for (const auto key : {Qt::Key_Return, Qt::Key_Escape})
    {
        CCellEdit* pEdit = DoubleClickCell(1, 100);
        ASSERT_NE(pEdit, nullptr);
        QTest::keyClick(pEdit, key);
        EXPECT_TRUE(m_pList->hasFocus());
        EXPECT_EQ(pEdit->m_bEscaped, key == Qt::Key_Escape);
        EXPECT_FALSE(pEdit->isVisible());
        ASSERT_TRUE(WaitFor([this] { return OpenEditor() == nullptr; }));
    }
}

TEST_F(PointListTest, TheEditorsOwnContextMenuDoesNotEndTheEdit)
{
    AddRows(3);
    Show();
    QPointer<CCellEdit> pEdit = DoubleClickCell(1, 100);
    ASSERT_FALSE(pEdit.isNull());
    QTest::keyClicks(pEdit, QStringLiteral("77"));

    // Opening the menu takes the focus away for as long as it is open; the editor must stay, or its own menu
    // would act on an editor that is gone.
    QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(5, 5), pEdit->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(pEdit, &menuEvent);
    QWidget* pPopup = QApplication::activePopupWidget();
    ASSERT_NE(pPopup, nullptr);
    QTest::qWait(0);

    ASSERT_FALSE(pEdit.isNull());
    EXPECT_TRUE(pEdit->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), pEdit.data());
    EXPECT_EQ(pEdit->text(), QStringLiteral("77"));
    EXPECT_EQ(m_pList->GetItemText(1, 1), QStringLiteral("110"));
    // What follows the close is not checked: the offscreen platform then deactivates the dialog, which ends
    // any edit.
    pPopup->close();
}

TEST_F(PointListTest, ListDestroyedWhileEditingTakesTheEditorWithIt)
{
    AddRows(3);
    Show();
    QPointer<CCellEdit> pEdit = DoubleClickCell(1, 100);
    ASSERT_FALSE(pEdit.isNull());
    QTest::keyClicks(pEdit, QStringLiteral("9"));

    delete m_pList;
    m_pList = nullptr;
    EXPECT_TRUE(pEdit.isNull());
    EXPECT_TRUE(m_pDlg->isVisible());
    QTest::qWait(0);
}

// ---------------------------------------------------------------------------------------------------------------
// The record the editor sends, handled by the list.

struct RecordCase
{
    std::string m_strName;
    int m_nItem;
    int m_nSubItem;
    std::optional<QString> m_strText;
    QString m_strExpected1;  // row 1 afterwards, columns 1 and 2
    QString m_strExpected2;
};

void PrintTo(const RecordCase& c, std::ostream* pOut)
{
    *pOut << c.m_strName;
}

class RecordTest : public PointListTest, public ::testing::WithParamInterface<RecordCase>
{
};

TEST_P(RecordTest, StoresOnlyWhatTheRecordCarries)
{
    const RecordCase& c = GetParam();
    AddRows(2);
    EndLabelEditInfo info;
    info.m_pSource = m_pList;
    info.m_nIdFrom = CCellEdit::kControlId;
    info.m_nItem = c.m_nItem;
    info.m_nSubItem = c.m_nSubItem;
    info.m_strText = c.m_strText;
    info.m_nTextMax = 3;
    qintptr nResult = 99;

    m_pList->OnEndCellEdit(info, &nResult);

    EXPECT_EQ(nResult, 0);
    EXPECT_EQ(m_pList->GetItemCount(), 2);
    EXPECT_EQ(m_pList->GetItemText(1, 1), c.m_strExpected1);
    EXPECT_EQ(m_pList->GetItemText(1, 2), c.m_strExpected2);
    EXPECT_EQ(m_pList->GetItemText(0, 2), QStringLiteral("0.0000"));
}

INSTANTIATE_TEST_SUITE_P(
    Records, RecordTest,
    ::testing::Values(RecordCase{"Escaped", 1, 2, std::nullopt, "110", "1.5000"},
                      RecordCase{"Display", 1, 2, QString("2.25x"), "110", "2.2500"},
                      RecordCase{"Pic", 1, 1, QString(" 7 "), " 7 ", "1.5000"},
                      RecordCase{"RowPastTheEnd", 2, 2, QString("5"), "110", "1.5000"},
                      RecordCase{"NegativeRow", -1, 2, QString("5"), "110", "1.5000"},
                      RecordCase{"ColumnPastTheEnd", 1, 3, QString("5"), "110", "1.5000"}),
    [](const auto& info) { return info.param.m_strName; });

// ---------------------------------------------------------------------------------------------------------------
// Where the editor sits.

struct PlacementCase
{
    std::string m_strName;
    int m_nListWidth;
    std::vector<int> m_anWidths;
    int m_nStartScroll;
    int m_nColumn;
    bool m_bByDoubleClick;  // otherwise EditCell, for cells not on screen
    int m_nDblClickX;       // client x of the double-click
    int m_nExpectedScroll;
    int m_nExpectedLeft;
    int m_nExpectedWidth;  // -1: up to the client area's right edge
};

void PrintTo(const PlacementCase& c, std::ostream* pOut)
{
    *pOut << c.m_strName;
}

class PlacementTest : public PointListTest, public ::testing::WithParamInterface<PlacementCase>
{
};

TEST_P(PlacementTest, PutsTheEditorOverTheCell)
{
    const PlacementCase& c = GetParam();
    AddRows(3);
    m_pList->resize(c.m_nListWidth, m_pList->height());
    for (int j = 0; j < 3; ++j)
        m_pList->SetColumnWidth(j, c.m_anWidths[j]);
    Show();
    m_pList->horizontalScrollBar()->setValue(c.m_nStartScroll);
    ASSERT_EQ(m_pList->horizontalScrollBar()->value(), c.m_nStartScroll);

    CCellEdit* pEdit = nullptr;
    if (c.m_bByDoubleClick)
    {
        DoubleClick(QPoint(c.m_nDblClickX, RowHeight() + RowHeight() / 2));
        pEdit = OpenEditor();
    }
    else
    {
        pEdit = m_pList->EditCell(1, c.m_nColumn);
    }
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(pEdit->m_nItem, 1);
    EXPECT_EQ(pEdit->m_nSubItem, c.m_nColumn);
    EXPECT_EQ(m_pList->horizontalScrollBar()->value(), c.m_nExpectedScroll);

    const QRect rc = pEdit->geometry();
    EXPECT_EQ(rc.left(), c.m_nExpectedLeft);
    EXPECT_EQ(rc.width(), c.m_nExpectedWidth < 0 ? ClientWidth() - c.m_nExpectedLeft : c.m_nExpectedWidth);
    EXPECT_EQ(rc.top(), RowHeight());
    EXPECT_EQ(rc.height(), RowHeight());
    EXPECT_EQ(rc.left() - 4, m_pList->columnViewportPosition(c.m_nColumn)) << "the editor starts 4 px into the cell";
}

INSTANTIATE_TEST_SUITE_P(
    Cells, PlacementTest,
    ::testing::Values(
        // In view: 4 px in, 1 px past the right border.
        PlacementCase{"PicInView", 340, {53, 90, 170}, 0, 1, true, 100, 0, 57, 87},
        // Starts in view, reaches past the right edge: clipped there, not scrolled.
        PlacementCase{"DisplayClippedAtTheRightEdge", 250, {53, 90, 170}, 0, 2, true, 200, 0, 147, -1},
        // Scrolled so that the cell starts left of the client area: brought to x = 0.
        PlacementCase{"PicLeftOfTheClientArea", 200, {53, 90, 170}, 100, 1, true, 10, 53, 4, 87},
        // Earlier columns widened until the cell starts right of the client area: brought to x = 0.
        PlacementCase{"DisplayRightOfTheClientArea", 150, {250, 90, 170}, 0, 2, false, 0, 340, 4, -1},
        // The narrowest editable column.
        PlacementCase{"FivePixelColumn", 340, {53, 5, 170}, 0, 1, true, 56, 0, 57, 2}),
    [](const auto& info) { return info.param.m_strName; });

TEST_F(PointListTest, EditorFollowsTheCellWhereTheViewCannotScrollAllTheWay)
{
    AddRows(3);
    m_pList->resize(150, m_pList->height());
    m_pList->SetColumnWidth(0, 250);
    m_pList->SetColumnWidth(2, 20);
    Show();
    const int nMaxScroll = m_pList->horizontalScrollBar()->maximum();
    ASSERT_LT(nMaxScroll, 250 + 90) << "the cell must lie beyond the scroll range";

    CCellEdit* pEdit = m_pList->EditCell(1, 2);

    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(m_pList->horizontalScrollBar()->value(), nMaxScroll);
    const int nCellLeft = 250 + 90 - nMaxScroll;
    ASSERT_EQ(m_pList->columnViewportPosition(2), nCellLeft);
    EXPECT_EQ(pEdit->x(), nCellLeft + 4);
    EXPECT_EQ(pEdit->x() + pEdit->width(), ClientWidth());
}

struct RefusalCase
{
    std::string m_strName;
    int m_nRow;
    int m_nColumn;
    int m_nPicWidth;
};

void PrintTo(const RefusalCase& c, std::ostream* pOut)
{
    *pOut << c.m_strName;
}

class RefusalTest : public PointListTest, public ::testing::WithParamInterface<RefusalCase>
{
};

TEST_P(RefusalTest, OpensNothing)
{
    const RefusalCase& c = GetParam();
    AddRows(3);
    m_pList->SetColumnWidth(1, c.m_nPicWidth);
    Show();

    EXPECT_EQ(m_pList->EditCell(c.m_nRow, c.m_nColumn), nullptr);
    EXPECT_EQ(OpenEditor(), nullptr);
    EXPECT_EQ(m_pList->horizontalScrollBar()->value(), 0);
}

INSTANTIATE_TEST_SUITE_P(Cells, RefusalTest,
                         ::testing::Values(RefusalCase{"RowPastTheEnd", 3, 1, 90},
                                           RefusalCase{"NegativeRow", -1, 1, 90},
                                           RefusalCase{"ColumnPastTheEnd", 1, 3, 90},
                                           RefusalCase{"NegativeColumn", 1, -1, 90},
                                           RefusalCase{"FourPixelColumn", 1, 1, 4},
                                           RefusalCase{"HiddenColumn", 1, 1, 0}),
                         [](const auto& info) { return info.param.m_strName; });

TEST_F(PointListTest, FourPixelColumnIsNotEditedByDoubleClick)
{
    AddRows(3);
    m_pList->SetColumnWidth(1, 4);
    Show();
    // Column 1 now spans 53..57; 55 lies inside it.
    EXPECT_EQ(DoubleClickCell(1, kWidthNumber + 2), nullptr);
    EXPECT_EQ(m_nDblClks, 1);
}

struct VerticalCase
{
    std::string m_strName;
    int m_nTopBefore;
    int m_nRow;
};

void PrintTo(const VerticalCase& c, std::ostream* pOut)
{
    *pOut << c.m_strName;
}

class VerticalTest : public PointListTest, public ::testing::WithParamInterface<VerticalCase>
{
};

TEST_P(VerticalTest, EditCellBringsTheRowIntoViewVerticallyOnly)
{
    const VerticalCase& c = GetParam();
    AddRows(40);
    m_pList->resize(250, m_pList->height());
    Show();
    m_pList->verticalScrollBar()->setValue(c.m_nTopBefore);
    m_pList->horizontalScrollBar()->setValue(20);  // column 1 still starts inside the client area

    CCellEdit* pEdit = m_pList->EditCell(c.m_nRow, 1);

    ASSERT_NE(pEdit, nullptr);
    const int nY = m_pList->rowViewportPosition(c.m_nRow);
    EXPECT_GE(nY, 0);
    EXPECT_LE(nY + RowHeight(), m_pList->viewport()->height());
    EXPECT_EQ(pEdit->y(), nY);
    EXPECT_EQ(m_pList->horizontalScrollBar()->value(), 20);
    EXPECT_EQ(pEdit->x(), kWidthNumber - 20 + 4);
}

INSTANTIATE_TEST_SUITE_P(Rows, VerticalTest,
                         ::testing::Values(VerticalCase{"BelowThePage", 0, 35}, VerticalCase{"AboveThePage", 20, 3},
                                           VerticalCase{"OnThePage", 5, 7}),
                         [](const auto& info) { return info.param.m_strName; });

// ---------------------------------------------------------------------------------------------------------------
// Alignment and widening.

struct AlignmentCase
{
    int m_nFormat;
    Qt::Alignment m_expected;
};

void PrintTo(const AlignmentCase& c, std::ostream* pOut)
{
    *pOut << "format " << c.m_nFormat;
}

class AlignmentTest : public PointListTest, public ::testing::WithParamInterface<AlignmentCase>
{
};

TEST_P(AlignmentTest, EditorHeaderAndCellsFollowTheColumnFormat)
{
    const AlignmentCase& c = GetParam();
    m_pList->InsertColumn(3, QStringLiteral("Extra"), c.m_nFormat, 60);
    m_pList->resize(420, m_pList->height());
    AddRows(2);
    Show();

    CCellEdit* pEdit = m_pList->EditCell(1, 3);

    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(pEdit->alignment() & Qt::AlignHorizontal_Mask, c.m_expected);
    EXPECT_EQ(Qt::Alignment(m_pList->item(1, 3)->textAlignment()) & Qt::AlignHorizontal_Mask, c.m_expected);
    EXPECT_EQ(Qt::Alignment(m_pList->horizontalHeaderItem(3)->textAlignment()) & Qt::AlignHorizontal_Mask,
              c.m_expected);
}

INSTANTIATE_TEST_SUITE_P(Formats, AlignmentTest,
                         ::testing::Values(AlignmentCase{CPointListCtrl::FormatLeft, Qt::AlignLeft},
                                           AlignmentCase{CPointListCtrl::FormatRight, Qt::AlignRight},
                                           AlignmentCase{CPointListCtrl::FormatCenter, Qt::AlignHCenter},
                                           AlignmentCase{3, Qt::AlignHCenter}));

TEST_F(PointListTest, BothValueColumnsCentreTheirText)
{
    AddRows(2);
    Show();
    for (const int nX : {kWidthNumber + 20, kWidthNumber + kWidthPic + 20})
    {
        CCellEdit* pEdit = DoubleClickCell(1, nX);
        ASSERT_NE(pEdit, nullptr);
        EXPECT_EQ(pEdit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QTest::keyClick(pEdit, Qt::Key_Escape);
        ASSERT_TRUE(WaitFor([this] { return OpenEditor() == nullptr; }));
    }
}

TEST_F(PointListTest, TypingWidensTheEditorUpToTheRightEdgeAndNeverNarrowsIt)
{
    AddRows(2);
    Show();
    CCellEdit* pEdit = DoubleClickCell(1, 100);
    ASSERT_NE(pEdit, nullptr);
    const QFontMetrics fm(m_pList->font());
    const int nLeft = pEdit->x();
    ASSERT_EQ(pEdit->width(), kWidthPic - 3);

    // Short text fits: no change.
    QTest::keyClicks(pEdit, QStringLiteral("12"));
    EXPECT_EQ(pEdit->width(), kWidthPic - 3);

    // Longer text: the measured width plus 5.
    QString strText = QStringLiteral("12");
    while (fm.horizontalAdvance(strText) + 5 <= kWidthPic - 3 + 20)
    {
        QTest::keyClick(pEdit, 'W');
        strText += QLatin1Char('W');
    }
    ASSERT_EQ(pEdit->text(), strText);
    EXPECT_EQ(pEdit->width(), fm.horizontalAdvance(strText) + 5);
    EXPECT_EQ(pEdit->x(), nLeft);

    // Up to the client area's right edge and no further.
    while (fm.horizontalAdvance(strText) + 5 <= ClientWidth())
    {
        QTest::keyClick(pEdit, 'W');
        strText += QLatin1Char('W');
    }
    EXPECT_EQ(pEdit->x() + pEdit->width(), ClientWidth());
    EXPECT_EQ(pEdit->x(), nLeft);
    const QRect rcWidest = pEdit->geometry();

    // Deleting never narrows it.
    for (int n = 0; n < 10; ++n)
        QTest::keyClick(pEdit, Qt::Key_Backspace);
    QTest::keyClick(pEdit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(pEdit, Qt::Key_Delete);
    EXPECT_TRUE(pEdit->text().isEmpty());
    EXPECT_EQ(pEdit->geometry(), rcWidest);
}

}  // namespace
