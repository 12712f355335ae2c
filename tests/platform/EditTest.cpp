// The five edits have no automatic horizontal scrolling: typed, pasted or dropped text stops once the box is full,
// while text the program sets is kept whole.
#include "Edit.h"
#include "ExchangeDlg.h"
#include "TestSupport.h"

#include <QApplication>
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

// Room for exactly the text and not one character more.
static void ExpectFull(const CEdit& edit, QChar chNext)
{
    EXPECT_TRUE(edit.TextFits(edit.text())) << edit.text().toStdString();
    EXPECT_FALSE(edit.TextFits(edit.text() + chNext)) << edit.text().toStdString();
}

// Whether the box shows the same part of its text with the cursor at either end, i.e. does not scroll.
static bool ShowsWholeText(CEdit& edit)
{
    edit.clearFocus(); // no blinking cursor in the pictures
    edit.end(false);
    const QImage imageEnd = edit.grab().toImage();
    edit.home(false);
    const QImage imageStart = edit.grab().toImage();
    return imageEnd == imageStart;
}

class EditFullTest : public ::testing::TestWithParam<int> {};

TEST_P(EditFullTest, TypingStopsWhenTheBoxIsFull)
{
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create());
    ASSERT_TRUE(ShowActive(&dlg));
    auto* pEdit = qobject_cast<CEdit*>(dlg.GetDlgItem(GetParam()));
    ASSERT_NE(pEdit, nullptr);
    pEdit->setEnabled(true);
    pEdit->clear();
    const QString strTyped(60, QLatin1Char('8'));
    QTest::keyClicks(pEdit, strTyped);
    EXPECT_GT(pEdit->text().size(), 2);
    EXPECT_LT(pEdit->text().size(), strTyped.size());
    EXPECT_TRUE(strTyped.startsWith(pEdit->text()));
    ExpectFull(*pEdit, QLatin1Char('8'));
    // What the box took, it shows whole; one character more (set by the program) would have to scroll.
    const QString strFull = pEdit->text();
    EXPECT_TRUE(ShowsWholeText(*pEdit));
    pEdit->setText(strFull + QLatin1Char('8'));
    EXPECT_FALSE(ShowsWholeText(*pEdit));
    pEdit->setText(strFull);
    // Narrow characters still fit after wide ones stopped.
    const qsizetype nBefore = pEdit->text().size();
    pEdit->clear();
    QTest::keyClicks(pEdit, QString(60, QLatin1Char('1')));
    EXPECT_GE(pEdit->text().size(), nBefore);
}

INSTANTIATE_TEST_SUITE_P(FiveEdits, EditFullTest,
                         ::testing::Values(IDC_UNITS, IDC_LOWER, IDC_UPPER, IDC_DISPLAY_VALUE, IDC_STEP));

class EditFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dlg.Create());
        ASSERT_TRUE(ShowActive(&m_dlg));
        m_pEdit = qobject_cast<CEdit*>(m_dlg.GetDlgItem(IDC_STEP));
        ASSERT_NE(m_pEdit, nullptr);
        m_pEdit->setEnabled(true);
        m_pEdit->setFocus();
        ASSERT_TRUE(WaitFor([this] { return m_pEdit->hasFocus(); }));
    }

    CExchangeDlg m_dlg;
    CEdit* m_pEdit = nullptr;
};

TEST_F(EditFixture, PasteKeepsTheLeadingPartThatFits)
{
    const QString strClip = QStringLiteral("1234567890123456789012345678901234567890");
    QApplication::clipboard()->setText(strClip);
    m_pEdit->selectAll();
    QTest::keySequence(m_pEdit, QKeySequence::Paste);
    ASSERT_FALSE(m_pEdit->text().isEmpty());
    EXPECT_TRUE(strClip.startsWith(m_pEdit->text()));
    EXPECT_LT(m_pEdit->text().size(), strClip.size());
    ExpectFull(*m_pEdit, strClip.at(m_pEdit->text().size()));
    EXPECT_EQ(m_pEdit->cursorPosition(), m_pEdit->text().size());
}

TEST_F(EditFixture, PasteInTheMiddleKeepsBothEnds)
{
    m_pEdit->setText(QStringLiteral("[]"));
    m_pEdit->setCursorPosition(1);
    QApplication::clipboard()->setText(QStringLiteral("abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz"));
    QTest::keySequence(m_pEdit, QKeySequence::Paste);
    const QString strText = m_pEdit->text();
    ASSERT_GT(strText.size(), 2);
    EXPECT_TRUE(strText.startsWith(QLatin1Char('[')));
    EXPECT_TRUE(strText.endsWith(QLatin1Char(']')));
    EXPECT_TRUE(QStringLiteral("abcdefghijklmnopqrstuvwxyz").startsWith(strText.mid(1, strText.size() - 2)));
    EXPECT_TRUE(m_pEdit->TextFits(strText));
    EXPECT_EQ(m_pEdit->cursorPosition(), strText.size() - 1);
}

TEST_F(EditFixture, TypingInTheMiddleOfAFullBoxIsRefused)
{
    QTest::keyClicks(m_pEdit, QString(60, QLatin1Char('5')));
    const QString strFull = m_pEdit->text();
    m_pEdit->setCursorPosition(2);
    QTest::keyClicks(m_pEdit, QStringLiteral("999"));
    EXPECT_EQ(m_pEdit->text(), strFull);
    // Replacing a selection with something no wider is fine.
    m_pEdit->setSelection(0, 1);
    QTest::keyClicks(m_pEdit, QStringLiteral("7"));
    EXPECT_EQ(m_pEdit->text(), QLatin1Char('7') + strFull.mid(1));
}

TEST_F(EditFixture, ProgramTextStaysWholeAndCanOnlyShrinkByTyping)
{
    const QString strLong = QStringLiteral("-1.23456789012345e-300");
    m_pEdit->setText(strLong);
    EXPECT_EQ(m_pEdit->text(), strLong);
    EXPECT_FALSE(m_pEdit->TextFits(strLong));
    m_pEdit->end(false);
    QTest::keyClick(m_pEdit, Qt::Key_4);
    EXPECT_EQ(m_pEdit->text(), strLong);
    QTest::keyClick(m_pEdit, Qt::Key_Backspace);
    EXPECT_EQ(m_pEdit->text(), strLong.left(strLong.size() - 1));
    // Undo of the deletion brings back the whole program text, as it was.
    QTest::keySequence(m_pEdit, QKeySequence::Undo);
    EXPECT_EQ(m_pEdit->text(), strLong);
    // ... and the box still refuses to grow it.
    m_pEdit->end(false);
    QTest::keyClick(m_pEdit, Qt::Key_4);
    EXPECT_EQ(m_pEdit->text(), strLong);
}

TEST(EditTest, AutoHScrollBoxTakesEverything)
{
    CEdit edit;
    edit.resize(60, 24);
    edit.SetAutoHScroll(true);
    edit.show();
    const QString strTyped(80, QLatin1Char('x'));
    QTest::keyClicks(&edit, strTyped);
    EXPECT_EQ(edit.text(), strTyped);
}

TEST_F(EditFixture, PasteFromTheContextMenuStopsToo)
{
    const QString strClip = QStringLiteral("9876543210987654321098765432109876543210");
    QApplication::clipboard()->setText(strClip);
    m_pEdit->clear();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), m_pEdit->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(m_pEdit, &event);
    ASSERT_TRUE(WaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    QWidget* pPopup = QApplication::activePopupWidget();
    QAction* pPaste = nullptr;
    for (QAction* pAction : pPopup->actions()) {
        if (pAction->text().startsWith(QStringLiteral("&Paste")))
            pPaste = pAction;
    }
    ASSERT_NE(pPaste, nullptr);
    ASSERT_TRUE(pPaste->isEnabled());
    pPaste->trigger();
    pPopup->close();
    ASSERT_FALSE(m_pEdit->text().isEmpty());
    EXPECT_TRUE(strClip.startsWith(m_pEdit->text()));
    ExpectFull(*m_pEdit, strClip.at(m_pEdit->text().size()));
}
