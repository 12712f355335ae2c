// The default message box sink: a real modal QMessageBox with the application title, the icon and buttons the
// call asked for, and the answer of the button the user pressed.
#include "MessageBox.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

TEST(MessageBoxTest, ApplicationTitleIsTheExecutablesBaseName)
{
    EXPECT_EQ(ApplicationTitle(), QStringLiteral(VELMORA_TEST_EXE_NAME));
}

struct BoxCase {
    unsigned m_nType;
    QMessageBox::Icon m_icon;
    QMessageBox::StandardButtons m_buttons;
    QMessageBox::StandardButton m_press;
    int m_nAnswer;
};

class DefaultSinkTest : public ::testing::TestWithParam<BoxCase> {};

TEST_P(DefaultSinkTest, ShowsAModalBoxAndReturnsThePressedButton)
{
    const BoxCase& c = GetParam();
    QString strTitle;
    QString strText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, [&] {
        QMessageBox* pBox = nullptr;
        WaitFor([&] { return (pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) != nullptr; });
        if (pBox == nullptr)
            return;
        strTitle = pBox->windowTitle();
        strText = pBox->text();
        icon = pBox->icon();
        buttons = pBox->standardButtons();
        pBox->button(c.m_press)->click();
    });
    const int nAnswer = AfxMessageBox(QStringLiteral("Line <b>1</b>\nline 2"), c.m_nType);
    EXPECT_EQ(nAnswer, c.m_nAnswer);
    EXPECT_EQ(strTitle, QStringLiteral(VELMORA_TEST_EXE_NAME));
    EXPECT_EQ(strText, QStringLiteral("Line <b>1</b>\nline 2"));
    EXPECT_EQ(icon, c.m_icon);
    EXPECT_EQ(buttons, c.m_buttons);
}

INSTANTIATE_TEST_SUITE_P(
    Types, DefaultSinkTest,
    ::testing::Values(
        BoxCase{MB_OK | MB_ICONEXCLAMATION, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok, IDOK},
        BoxCase{MB_OK | MB_ICONSTOP, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok, IDOK},
        BoxCase{MB_OK, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok, IDOK},
        BoxCase{MB_YESNO | MB_ICONQUESTION, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
                QMessageBox::No, IDNO},
        BoxCase{MB_OKCANCEL | MB_ICONINFORMATION, QMessageBox::Information, QMessageBox::Ok | QMessageBox::Cancel,
                QMessageBox::Cancel, IDCANCEL},
        BoxCase{MB_YESNOCANCEL, QMessageBox::NoIcon, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                QMessageBox::Yes, IDYES}));

TEST(MessageBoxTest, SinkCanBeReplacedAndRestored)
{
    std::vector<QString> astrSeen;
    const MessageBoxSink previous = SetMessageBoxSink([&](const MessageBoxRequest& request) {
        astrSeen.push_back(request.m_strText);
        return IDNO;
    });
    EXPECT_EQ(AfxMessageBox(QStringLiteral("first"), MB_YESNO), IDNO);
    {
        MessageBoxRecorder inner(IDYES);
        EXPECT_EQ(AfxMessageBox(QStringLiteral("inner"), MB_YESNO), IDYES);
    }
    EXPECT_EQ(AfxMessageBox(QStringLiteral("second"), MB_YESNO), IDNO);
    SetMessageBoxSink(previous);
    EXPECT_EQ(astrSeen, (std::vector<QString>{QStringLiteral("first"), QStringLiteral("second")}));
}
