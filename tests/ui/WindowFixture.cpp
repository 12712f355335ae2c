#include "WindowFixture.h"

#include "CellEdit.h"
#include "EventWait.h"
#include "PointListCtrl.h"
#include "Profile.h"
#include "SavePathPrompt.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QFile>
#include <QTest>


void WindowFixture::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    // Never the user's own settings.
    SetProfilePath(SettingsPath());

    m_pPty = std::make_unique<PtyPair>();
    ASSERT_TRUE(m_pPty->IsValid());
    for (int nPort = 1; nPort <= 8; ++nPort)
        m_portMap.SetDevicePath(nPort, m_pPty->SlavePath());
    PortMap::Install(m_portMap);

    m_previousSink = SetMessageBoxSink([this](const MessageBoxRequest& request) {
        m_aBoxes.push_back(request);
        return IDOK;
    });
    SetSavePathPrompt([this](QWidget*) {
        ++m_nSavePrompts;
        return m_strSavePath;
    });
}

void WindowFixture::TearDown()
{
    m_pDlg.reset();
    SetSavePathPrompt({});
    SetMessageBoxSink(m_previousSink);
    PortMap::Install(PortMap());
    SetProfilePath(QString());
}

void WindowFixture::OpenWindow()
{
    m_pDlg = std::make_unique<CConfigDlg>();
    m_pDlg->m_link.SetSleepFunction([this](int nMs) { m_anSleeps.push_back(nMs); });
    ASSERT_TRUE(m_pDlg->Create());
    m_pDlg->show();
    QApplication::setActiveWindow(m_pDlg.get());
    m_pDlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_pDlg.get()));
}

void WindowFixture::Restart()
{
    m_pDlg.reset();
    OpenWindow();
}

void WindowFixture::MapPort(int nPort, const QString& strDevice)
{
    m_portMap.SetDevicePath(nPort, strDevice);
    PortMap::Install(m_portMap);
}

QString WindowFixture::SettingsPath() const
{
    return m_dir.filePath(QStringLiteral("velmora.INI"));
}

void WindowFixture::WriteSettings(const QByteArray& abContent) const
{
    QFile file(SettingsPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(abContent), abContent.size());
}

std::optional<QByteArray> WindowFixture::ReadSettings() const
{
    QFile file(SettingsPath());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

QLineEdit* WindowFixture::Edit(int nId) const
{
    return qobject_cast<QLineEdit*>(m_pDlg->GetDlgItem(nId));
}

QPushButton* WindowFixture::Button(int nId) const
{
    return qobject_cast<QPushButton*>(m_pDlg->GetDlgItem(nId));
}

QRadioButton* WindowFixture::Radio(int nId) const
{
    return qobject_cast<QRadioButton*>(m_pDlg->GetDlgItem(nId));
}

QComboBox* WindowFixture::Combo(int nId) const
{
    return qobject_cast<QComboBox*>(m_pDlg->GetDlgItem(nId));
}

void WindowFixture::TypeInto(int nId, const QString& strText)
{
    QLineEdit* pEdit = Edit(nId);
    ASSERT_NE(pEdit, nullptr) << nId;
    ASSERT_TRUE(pEdit->isEnabled()) << nId;
    QTest::mouseClick(pEdit, Qt::LeftButton);
    ASSERT_TRUE(pEdit->hasFocus()) << nId;
    QTest::keyClick(pEdit, Qt::Key_A, Qt::ControlModifier);
    if (strText.isEmpty())
        QTest::keyClick(pEdit, Qt::Key_Delete);
    else
        QTest::keyClicks(pEdit, strText);
    ASSERT_EQ(pEdit->text(), strText) << nId;
}

void WindowFixture::Click(int nId)
{
    QWidget* pControl = m_pDlg->GetDlgItem(nId);
    ASSERT_NE(pControl, nullptr) << nId;
    ASSERT_TRUE(pControl->isEnabled()) << nId;
    QTest::mouseClick(pControl, Qt::LeftButton);
}

void WindowFixture::PickFromCombo(int nId, int nIndex)
{
    QComboBox* pCombo = Combo(nId);
    ASSERT_NE(pCombo, nullptr) << nId;
    ASSERT_TRUE(pCombo->isEnabled()) << nId;
    QTest::mouseClick(pCombo, Qt::LeftButton);
    QAbstractItemView* pView = pCombo->view();
    ASSERT_TRUE(WaitFor([pView] { return pView->isVisible(); }, 5000)) << "the list of " << nId << " did not open";
    const QRect rcItem = pView->visualRect(pCombo->model()->index(nIndex, 0));
    ASSERT_TRUE(rcItem.isValid()) << nIndex;
    // The popup ignores a release that comes too soon after it opened, as a real press-drag-release would.
    QTest::mouseMove(pView->viewport(), rcItem.center());
    QTest::mouseClick(pView->viewport(), Qt::LeftButton, {}, rcItem.center(), QApplication::doubleClickInterval());
    ASSERT_TRUE(WaitFor([pView] { return !pView->isVisible(); }, 5000)) << "the list of " << nId << " stayed open";
}

QMenu* WindowFixture::OpenSystemMenu()
{
    // What the platform makes of a right-click: a context menu event at the mouse position.
    const QPoint pt(2, m_pDlg->height() - 2);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pt, m_pDlg->mapToGlobal(pt));
    QApplication::sendEvent(m_pDlg.get(), &event);
    QMenu* pMenu = m_pDlg->GetSystemMenu();
    if (pMenu == nullptr || !WaitFor([pMenu] { return pMenu->isVisible(); }, 5000))
        return nullptr;
    return pMenu;
}

CCellEdit* WindowFixture::DoubleClickCell(int nRow, int nColumn)
{
    CPointListCtrl* pList = m_pDlg->m_listPoints;
    const QPoint ptCell = pList->visualItemRect(pList->item(nRow, nColumn)).center();
    // The first click focuses the list, the second press is the double-click.
    QTest::mouseClick(pList->viewport(), Qt::LeftButton, {}, ptCell);
    QTest::mouseDClick(pList->viewport(), Qt::LeftButton, {}, ptCell);
    return OpenEditor();
}

CCellEdit* WindowFixture::OpenEditor() const
{
    for (CCellEdit* pEdit : m_pDlg->m_listPoints->viewport()->findChildren<CCellEdit*>())
        if (pEdit->isVisible())
            return pEdit;
    return nullptr;
}

QStringList WindowFixture::PointRows() const
{
    QStringList astrRows;
    CPointListCtrl* pList = m_pDlg->m_listPoints;
    for (int nItem = 0; nItem < pList->GetItemCount(); ++nItem)
        astrRows << pList->GetItemText(nItem, 0) + '|' + pList->GetItemText(nItem, 1) + '|'
                        + pList->GetItemText(nItem, 2);
    return astrRows;
}

QStringList WindowFixture::BoxTexts() const
{
    QStringList astrTexts;
    for (const MessageBoxRequest& request : m_aBoxes)
        astrTexts << request.m_strText;
    return astrTexts;
}

void OpenWindowFixture::SetUp()
{
    WindowFixture::SetUp();
    if (!HasFatalFailure())
        OpenWindow();
}
