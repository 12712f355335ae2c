#include "ConfigDlg.h"

#include "AboutBox.h"
#include "FixedFormat.h"
#include "ListBox.h"
#include "MessageBox.h"
#include "PointListCtrl.h"
#include "PointRow.h"
#include "Profile.h"
#include "Resources.h"
#include "SavePathPrompt.h"
#include "TableBuilder.h"
#include "TableFile.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

#include <cmath>
#include <vector>

namespace
{
const QString ReadingPlaceholder = QStringLiteral("XXXX");
const QString SettingsSection = QStringLiteral("Settings");
const QString PortKey = QStringLiteral("PortName");

// Every control that only nonlinear mode uses, in the order they are switched.
constexpr int NonlinearControls[] = {IDC_PORT,         IDC_CHANNEL,   IDC_STEP,    IDC_SET,    IDC_DISPLAY_VALUE,
                                     IDC_STEP_DOWN,    IDC_STEP_UP,   IDC_POINTS,  IDC_CLEAR_ALL};
}

CConfigDlg::CConfigDlg(QWidget* pParent)
    : CDialog(IDD_VELMORA_DIALOG, pParent)
    , m_link(m_nChannel)
{
    RegisterControlClass(IDC_POINTS, [](QWidget* pListParent) { return new CPointListCtrl(pListParent); });
    m_hIcon = LoadIconResource(IDR_MAINFRAME);
    m_nPort = GetProfileInt(SettingsSection, PortKey, 0);
}

CConfigDlg::~CConfigDlg() = default;

void CConfigDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_DECIMALS, m_listDecimals);
    DDX_Control(pDX, IDC_POINTS, m_listPoints);
    DDX_Control(pDX, IDC_READING, m_staticReading);
    DDX_Text(pDX, IDC_UNITS, m_strUnits);
    DDX_Text(pDX, IDC_LOWER, m_dLower);
    DDX_Text(pDX, IDC_UPPER, m_dUpper);
    // The communications control has no window here: m_link holds it for the window's whole life.
    DDX_CBIndex(pDX, IDC_PORT, m_nPort);
    DDX_CBIndex(pDX, IDC_CHANNEL, m_nChannel);
    DDX_Radio(pDX, IDC_LINEAR, m_nMode);
    DDX_Text(pDX, IDC_DISPLAY_VALUE, m_dDisplayValue);
    DDX_Text(pDX, IDC_STEP, m_dStep);
}

void CConfigDlg::MessageMap()
{
    MapClicked(IDC_GENERATE, &CConfigDlg::OnGenerate);
    MapSelChange(IDC_PORT, &CConfigDlg::OnPortChange);
    MapSelChange(IDC_CHANNEL, &CConfigDlg::OnChannelChange);
    MapClicked(IDC_SET, &CConfigDlg::OnSet);
    ConnectGuarded(ControlAs<CPointListCtrl>(IDC_POINTS), &CPointListCtrl::DblClk, this, &CConfigDlg::OnPointDblClk);
    MapClicked(IDC_STEP_DOWN, &CConfigDlg::OnStepDown);
    MapClicked(IDC_STEP_UP, &CConfigDlg::OnStepUp);
    MapClicked(IDC_LINEAR, &CConfigDlg::OnLinear);
    MapClicked(IDC_NONLINEAR, &CConfigDlg::OnNonlinear);
    MapClicked(IDC_CLEAR_ALL, &CConfigDlg::OnClearAll);
    // The link's events: each answer rewrites the reading display; a lost device or a failed poll is told once.
    ConnectGuarded(&m_link, &CDeviceLink::ReadingTextChanged, this, &CConfigDlg::OnReadingText);
    ConnectGuarded(&m_link, &CDeviceLink::LinkLost, this, &CConfigDlg::OnLinkMessage);
    ConnectGuarded(&m_link, &CDeviceLink::PollFailed, this, &CConfigDlg::OnLinkMessage);
}

bool CConfigDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    if (QMenu* pSysMenu = GetSystemMenu())
    {
        const QString strAboutMenu = LoadResourceString(IDS_ABOUTBOX);
        if (!strAboutMenu.isEmpty())
        {
            pSysMenu->addSeparator();
            pSysMenu->addAction(strAboutMenu)->setData(IDM_ABOUTBOX);
        }
    }
    setWindowIcon(m_hIcon);

    m_listPoints->SetExtendedStyle(CPointListCtrl::StyleGridLines | CPointListCtrl::StyleFullRowSelect);
    m_listPoints->InsertColumn(0, QStringLiteral("Number"), CPointListCtrl::FormatRight, 53);
    m_listPoints->InsertColumn(1, QStringLiteral("Value From PIC"), CPointListCtrl::FormatCenter, 90);
    m_listPoints->InsertColumn(2, QStringLiteral("Value On Display"), CPointListCtrl::FormatCenter, 170);

    m_staticReading->setText(ReadingPlaceholder);

    for (int nDecimals = 0; nDecimals <= 4; ++nDecimals)
        m_listDecimals->AddString(QString::number(nDecimals));
    m_listDecimals->SetCurSel(2);

    UpdateControlStates();
    return true;
}

void CConfigDlg::UpdateControlStates()
{
    GetDlgItem(IDC_LOWER)->setEnabled(m_nMode == 0);
    GetDlgItem(IDC_UPPER)->setEnabled(m_nMode == 0);
    for (int nId : NonlinearControls)
        GetDlgItem(nId)->setEnabled(m_nMode != 0);
}

void CConfigDlg::OnSysCommand(int nId, qintptr lParam)
{
    if ((nId & 0xFFF0) == IDM_ABOUTBOX)
    {
        CAboutBox dlgAbout(this);
        dlgAbout.DoModal();
        return;
    }
    CDialog::OnSysCommand(nId, lParam);
}

void CConfigDlg::OnGenerate()
{
    UpdateData(true);

    // Built before the file is chosen, so a table that cannot be built is refused before the user picks a file.
    BuiltTable built;
    if (m_nMode == 1)
    {
        std::vector<PointRow> rows;
        rows.reserve(static_cast<size_t>(m_listPoints->GetItemCount()));
        for (int nItem = 0; nItem < m_listPoints->GetItemCount(); ++nItem)
            rows.push_back({m_listPoints->GetItemText(nItem, 1).toStdString(),
                            m_listPoints->GetItemText(nItem, 2).toStdString()});
        built = BuildNonlinearTable(rows);
    }
    else
    {
        built = BuildLinearTable(m_dLower, m_dUpper);
    }

    const std::optional<QString> strPath = AskSavePath(this);
    if (!strPath)
        return;

    const std::string strFormat = MakeNumberFormat(m_listDecimals->GetTopIndex());
    WriteTableFile(*strPath, built.m_table, built.m_strDirection, m_strUnits.toUtf8(), strFormat);
}

void CConfigDlg::OnPortChange()
{
    m_staticReading->setText(ReadingPlaceholder);
    ClosePort();
    UpdateData(true);
    WriteProfileInt(SettingsSection, PortKey, m_nPort);
    OpenPort();
}

void CConfigDlg::OnChannelChange()
{
    UpdateData(true);
}

void CConfigDlg::OnSet()
{
    const int nItem = m_listPoints->GetItemCount();
    UpdateData(true);
    m_listPoints->InsertItem(nItem, QString::number(nItem));
    m_listPoints->SetItemText(nItem, 1, QString::number(m_link.Reading()));
    m_listPoints->SetItemText(nItem, 2, QString::fromStdString(FormatFixed(m_dDisplayValue, 4)));
}

void CConfigDlg::OnPointDblClk(const QPoint& ptGlobal)
{
    m_listPoints->EditCellAt(ptGlobal);
}

void CConfigDlg::OnStepDown()
{
    UpdateData(true);
    TakeSteppedValue(m_dDisplayValue - m_dStep);
}

void CConfigDlg::OnStepUp()
{
    UpdateData(true);
    TakeSteppedValue(m_dStep + m_dDisplayValue);
}

void CConfigDlg::TakeSteppedValue(double dValue)
{
    // A step past the largest double would put "inf" in the box, which no later exchange can read back.
    if (std::isfinite(dValue))
        m_dDisplayValue = dValue;
    else
        AfxMessageBox(QStringLiteral("The value on display would leave the range of numbers. Choose a smaller step."),
                      MB_ICONEXCLAMATION);
    UpdateData(false);
}

void CConfigDlg::OnLinear()
{
    UpdateData(true);
    ClosePort();
    m_staticReading->setText(ReadingPlaceholder);
    UpdateControlStates();
}

void CConfigDlg::OnNonlinear()
{
    UpdateData(true);
    UpdateControlStates();
    ClosePort();
    OpenPort();
}

void CConfigDlg::OnClearAll()
{
    m_listPoints->DeleteAllItems();
}

void CConfigDlg::OpenPort()
{
    m_link.OpenPort(m_nPort);
}

void CConfigDlg::ClosePort()
{
    m_link.ClosePort();
}

void CConfigDlg::OnReadingText(const QString& strText)
{
    m_staticReading->setText(strText);
}

void CConfigDlg::OnLinkMessage(const QString& strMessage)
{
    AfxMessageBox(strMessage, MB_ICONSTOP);
}
