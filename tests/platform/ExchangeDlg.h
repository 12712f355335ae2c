#pragma once

#include "Dialog.h"
#include "ListBox.h"
#include "Resources.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

// The main window's template with the main window's exchange list (less the serial transport, which has no
// window), a Set button that counts its clicks, and members preset to values no load would produce.
class CExchangeDlg : public CDialog {
public:
    CExchangeDlg() : CDialog(IDD_VELMORA_DIALOG) {}

    QLineEdit* Edit(int nId) const { return ControlAs<QLineEdit>(nId); }

    CListBox* m_pListDecimals = nullptr;
    QTableWidget* m_pListPoints = nullptr;
    QLabel* m_pStaticReading = nullptr;
    QString m_strUnits;
    double m_dLower = 0.0;
    double m_dUpper = 0.0;
    int m_nPort = 0;
    int m_nChannel = 0;
    int m_nMode = 0;
    double m_dDisplayValue = 0.0;
    double m_dStep = 0.0;
    int m_nSetClicks = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_DECIMALS, m_pListDecimals);
        DDX_Control(pDX, IDC_POINTS, m_pListPoints);
        DDX_Control(pDX, IDC_READING, m_pStaticReading);
        DDX_Text(pDX, IDC_UNITS, m_strUnits);
        DDX_Text(pDX, IDC_LOWER, m_dLower);
        DDX_Text(pDX, IDC_UPPER, m_dUpper);
        DDX_CBIndex(pDX, IDC_PORT, m_nPort);
        DDX_CBIndex(pDX, IDC_CHANNEL, m_nChannel);
        DDX_Radio(pDX, IDC_LINEAR, m_nMode);
        DDX_Text(pDX, IDC_DISPLAY_VALUE, m_dDisplayValue);
        DDX_Text(pDX, IDC_STEP, m_dStep);
    }

    void MessageMap() override { MapClicked(IDC_SET, &CExchangeDlg::OnSet); }

private:
    void OnSet() { ++m_nSetClicks; }
};
