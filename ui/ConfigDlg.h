#pragma once

#include "DeviceLink.h"
#include "Dialog.h"

#include <QIcon>
#include <QString>

class CListBox;
class CPointListCtrl;
class QLabel;

// The main window: the conversion mode, the limits of a linear table, calibration points recorded from live
// readings of the unit, decimal places and units, and the Generate command that writes the table file.
// The serial link and the poll live in m_link; the window routes its commands to it.
class CConfigDlg : public CDialog {
    Q_OBJECT

public:
    explicit CConfigDlg(QWidget* pParent = nullptr);
    ~CConfigDlg() override;

    // Enables the limit boxes in linear mode and the point-recording controls in nonlinear mode.
    void UpdateControlStates();

    // Members, in the order the window declares them; the exchange list binds them to the controls.
    CListBox* m_listDecimals = nullptr;
    CPointListCtrl* m_listPoints = nullptr;
    QLabel* m_staticReading = nullptr;
    QString m_strUnits;
    double m_dLower = 0.0;
    double m_dUpper = 0.0;
    int m_nPort = -1;
    int m_nChannel = 0;
    int m_nMode = 0;
    double m_dDisplayValue = 0.0;
    double m_dStep = 0.0;
    QIcon m_hIcon;
    // The serial link: the communications control, the last accepted answer frame and the current reading.
    CDeviceLink m_link;

    // Command handlers (the message map routes the controls here).
    void OnGenerate();
    void OnPortChange();
    void OnChannelChange();
    void OnSet();
    void OnPointDblClk(const QPoint& ptGlobal);
    void OnStepDown();
    void OnStepUp();
    void OnLinear();
    void OnNonlinear();
    void OnClearAll();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnSysCommand(int nId, qintptr lParam) override;
    void MessageMap() override;

private:
    void TakeSteppedValue(double dValue);
    void OpenPort();
    void ClosePort();
    void OnReadingText(const QString& strText);
    void OnLinkMessage(const QString& strMessage);
};
