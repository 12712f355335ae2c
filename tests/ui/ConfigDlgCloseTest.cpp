// Ending the main window ("Exit", Enter, Escape, the close box, Close on the system menu) with the number
// boxes' rules applied by the real boxes, and the About box opened from the window's system menu.
#include "WindowFixture.h"

#include "AboutBox.h"
#include "CaseName.h"
#include "EventWait.h"
#include "Resources.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>

namespace
{
enum class CloseBy { Exit, Enter, Escape, CloseBox, MenuClose };

struct CloseCase {
    const char* m_szName;
    int m_nBox;          // the box typed into
    const char* m_szTyped;
    CloseBy m_closeBy;
    int m_nResult;       // 0: the window stays open
    double m_dLower;     // m_dLower afterwards
};

class CloseTest : public OpenWindowFixture, public ::testing::WithParamInterface<CloseCase> {};

constexpr int Stays = 0;
}  // namespace

TEST_P(CloseTest, WindowEndsOnlyWhenTheExchangeGoesThrough)
{
    const CloseCase& c = GetParam();
    TypeInto(c.m_nBox, QString::fromLatin1(c.m_szTyped));
    QLineEdit* pTyped = Edit(c.m_nBox);
    switch (c.m_closeBy) {
    case CloseBy::Exit:
        Click(IDOK);
        break;
    case CloseBy::Enter:
        QTest::keyClick(pTyped, Qt::Key_Return);
        break;
    case CloseBy::Escape:
        QTest::keyClick(pTyped, Qt::Key_Escape);
        break;
    case CloseBy::CloseBox:
        m_pDlg->close();
        break;
    case CloseBy::MenuClose: {
        QMenu* pMenu = OpenSystemMenu();
        ASSERT_NE(pMenu, nullptr);
        QAction* pClose = nullptr;
        for (QAction* pAction : pMenu->actions())
            if (pAction->text() == QStringLiteral("&Close"))
                pClose = pAction;
        ASSERT_NE(pClose, nullptr);
        QTest::mouseClick(pMenu, Qt::LeftButton, {}, pMenu->actionGeometry(pClose).center());
        break;
    }
    }

    EXPECT_EQ(m_pDlg->m_dLower, c.m_dLower);
    if (c.m_nResult == Stays) {
        EXPECT_TRUE(m_pDlg->isVisible());
        EXPECT_EQ(BoxTexts(), QStringList{QStringLiteral("Please enter a number.")});
        EXPECT_EQ(QApplication::focusWidget(), pTyped);
        EXPECT_EQ(pTyped->selectedText(), pTyped->text());
    } else {
        EXPECT_FALSE(m_pDlg->isVisible());
        EXPECT_EQ(m_pDlg->result(), c.m_nResult);
        EXPECT_TRUE(m_aBoxes.empty()) << BoxTexts().join('\n').toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ways, CloseTest,
    ::testing::Values(
        // Representative rows of the number boxes' rules, through the real lower-limit box.
        CloseCase{"Exit with 12abc", IDC_LOWER, "12abc", CloseBy::Exit, Stays, 0.0},
        CloseCase{"Exit with an empty box", IDC_LOWER, "", CloseBy::Exit, Stays, 0.0},
        CloseCase{"Exit with -0", IDC_LOWER, "-0", CloseBy::Exit, Stays, 0.0},
        CloseCase{"Exit with 1e", IDC_LOWER, "1e", CloseBy::Exit, Stays, 0.0},
        CloseCase{"Exit with 1D2", IDC_LOWER, "1D2", CloseBy::Exit, IDOK, 100.0},
        CloseCase{"Exit with blanks around 7", IDC_LOWER, "  7  ", CloseBy::Exit, IDOK, 7.0},
        CloseCase{"Exit with .5", IDC_LOWER, ".5", CloseBy::Exit, IDOK, 0.5},
        CloseCase{"Exit with 5.", IDC_LOWER, "5.", CloseBy::Exit, IDOK, 5.0},
        CloseCase{"Exit with 0.0", IDC_LOWER, "0.0", CloseBy::Exit, IDOK, 0.0},
        // Enter anywhere acts as the default button, "Exit".
        CloseCase{"Enter in the lower limit", IDC_LOWER, "-1.5", CloseBy::Enter, IDOK, -1.5},
        CloseCase{"Enter with a letter", IDC_LOWER, "q", CloseBy::Enter, Stays, 0.0},
        CloseCase{"Enter in the units", IDC_UNITS, "mV", CloseBy::Enter, IDOK, 0.0},
        // Escape and the close box end without any exchange.
        CloseCase{"Escape with a letter", IDC_LOWER, "1x", CloseBy::Escape, IDCANCEL, 0.0},
        CloseCase{"Escape with a number", IDC_LOWER, "3", CloseBy::Escape, IDCANCEL, 0.0},
        CloseCase{"close box with a letter", IDC_LOWER, "1x", CloseBy::CloseBox, IDCANCEL, 0.0},
        CloseCase{"Close on the system menu", IDC_LOWER, "1x", CloseBy::MenuClose, IDCANCEL, 0.0}),
    [](const auto& info) { return CaseName(info.param.m_szName); });

TEST_F(OpenWindowFixture, ExitKeepsTheLimitTakenBeforeTheRejectedBox)
{
    TypeInto(IDC_LOWER, QStringLiteral("4"));
    TypeInto(IDC_UPPER, QStringLiteral("x"));
    Click(IDOK);
    EXPECT_TRUE(m_pDlg->isVisible());
    EXPECT_EQ(m_pDlg->m_dLower, 4.0);
    EXPECT_EQ(QApplication::focusWidget(), Edit(IDC_UPPER));

    // Corrected, it goes through.
    TypeInto(IDC_UPPER, QStringLiteral("8"));
    Click(IDOK);
    EXPECT_FALSE(m_pDlg->isVisible());
    EXPECT_EQ(m_pDlg->result(), IDOK);
    EXPECT_EQ(m_pDlg->m_dUpper, 8.0);
}

namespace
{
enum class AboutCloseBy { Ok, Escape, CloseBox };

std::string AboutCloseName(AboutCloseBy closeBy)
{
    switch (closeBy) {
    case AboutCloseBy::Ok:
        return "Ok";
    case AboutCloseBy::Escape:
        return "Escape";
    case AboutCloseBy::CloseBox:
        break;
    }
    return "CloseBox";
}

class AboutBoxTest : public OpenWindowFixture, public ::testing::WithParamInterface<AboutCloseBy> {
protected:
    // Opens the About box from the system menu and runs fnWhileOpen once it shows; the box's own modal loop
    // runs meanwhile, so the click returns only when the box has closed. A box still open after a while is
    // closed here so the test fails instead of hanging.
    void OpenAbout(const std::function<void(CAboutBox*)>& fnWhileOpen)
    {
        QMenu* pMenu = OpenSystemMenu();
        ASSERT_NE(pMenu, nullptr);
        QAction* pAbout = pMenu->actions().last();
        ASSERT_EQ(pAbout->text(), QStringLiteral("&About Velmora..."));

        bool bSeen = false;
        QDeadlineTimer deadline(10000);
        QTimer timer;
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* pBox = qobject_cast<CAboutBox*>(QApplication::activeModalWidget());
            if (pBox != nullptr && pBox->isVisible() && !bSeen) {
                bSeen = true;
                fnWhileOpen(pBox);
            } else if (deadline.hasExpired() && pBox != nullptr) {
                pBox->done(0);
            }
        });
        timer.start();
        QTest::mouseClick(pMenu, Qt::LeftButton, {}, pMenu->actionGeometry(pAbout).center());
        timer.stop();
        EXPECT_TRUE(bSeen) << "the About box did not show";
        EXPECT_FALSE(deadline.hasExpired()) << "the About box did not close";
    }
};
}  // namespace

TEST_P(AboutBoxTest, ShowsTheVersionAndClosesWithoutChangingAnything)
{
    TypeInto(IDC_UNITS, QStringLiteral("mV"));
    const AboutCloseBy closeBy = GetParam();
    OpenAbout([&](CAboutBox* pBox) {
        EXPECT_EQ(pBox->windowTitle(), QStringLiteral("About Velmora"));
        EXPECT_TRUE(pBox->isModal());
        EXPECT_EQ(pBox->parentWidget(), m_pDlg.get());

        QStringList astrTexts;
        bool bIcon = false;
        const QImage imageIcon = LoadIconResource(IDR_MAINFRAME).pixmap(32, 32).toImage();
        for (QLabel* pLabel : pBox->findChildren<QLabel*>()) {
            if (!pLabel->text().isEmpty())
                astrTexts << pLabel->text();
            if (!pLabel->pixmap().isNull())
                bIcon = bIcon || pLabel->pixmap().toImage() == imageIcon;
        }
        EXPECT_EQ(astrTexts, QStringList{QStringLiteral("Velmora Version 1.0")});
        EXPECT_TRUE(bIcon) << "no label shows the application icon";

        const QList<QPushButton*> apButtons = pBox->findChildren<QPushButton*>();
        ASSERT_EQ(apButtons.size(), 1);
        QPushButton* pOk = apButtons.first();
        EXPECT_EQ(pOk->text(), QStringLiteral("OK"));
        EXPECT_TRUE(pOk->isDefault());

        switch (closeBy) {
        case AboutCloseBy::Ok:
            QTest::mouseClick(pOk, Qt::LeftButton);
            break;
        case AboutCloseBy::Escape: {
            QWidget* pFocus = QApplication::focusWidget();
            QTest::keyClick(pFocus != nullptr && pBox->isAncestorOf(pFocus) ? pFocus : pBox, Qt::Key_Escape);
            break;
        }
        case AboutCloseBy::CloseBox:
            pBox->close();
            break;
        }
    });

    EXPECT_EQ(QApplication::activeModalWidget(), m_pDlg->isModal() ? m_pDlg.get() : nullptr);
    EXPECT_TRUE(m_pDlg->isVisible());
    EXPECT_EQ(Edit(IDC_UNITS)->text(), QStringLiteral("mV"));
    EXPECT_EQ(m_pDlg->m_strUnits, QString());
    EXPECT_TRUE(m_aBoxes.empty()) << BoxTexts().join('\n').toStdString();
    EXPECT_FALSE(ReadSettings().has_value());
}

INSTANTIATE_TEST_SUITE_P(Ways, AboutBoxTest,
                         ::testing::Values(AboutCloseBy::Ok, AboutCloseBy::Escape, AboutCloseBy::CloseBox),
                         [](const auto& info) { return AboutCloseName(info.param); });
