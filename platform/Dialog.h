#pragma once

#include "DataExchange.h"
#include "DialogTemplate.h"
#include "HandlerGuard.h"
#include "ResourceIds.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

class QButtonGroup;
class QMenu;

// System commands of the system menu (the window's background context menu here).
constexpr int SC_MINIMIZE = 0xF020;
constexpr int SC_CLOSE = 0xF060;

// A dialog built from a template of res/: each control at its dialog-unit rectangle mapped to pixels with the
// dialog font, tab order = template order, exclusive radio groups from a group-starting radio button to the next
// control that starts a group, fixed size, caption, no maximise box. IDOK and IDCANCEL buttons, Enter, Escape
// and the close box go to OnOK / OnCancel, each inside the handler guard.
//
// A window derives from it like this:
//
//     class CConfigDlg : public CDialog {
//     public:
//         explicit CConfigDlg(QWidget* pParent = nullptr) : CDialog(IDD_VELMORA_DIALOG, pParent)
//         {
//             RegisterControlClass(IDC_POINTS, [](QWidget* p) { return new CPointListCtrl(p); });
//         }
//     protected:
//         void DoDataExchange(CDataExchange* pDX) override
//         {
//             DDX_Control(pDX, IDC_DECIMALS, m_pListDecimals);   // CListBox*
//             DDX_Text(pDX, IDC_LOWER, m_dLower);
//             DDX_CBIndex(pDX, IDC_PORT, m_nPort);
//             DDX_Radio(pDX, IDC_LINEAR, m_nMode);
//         }
//         void MessageMap() override
//         {
//             MapClicked(IDC_SET, &CConfigDlg::OnSet);
//             MapSelChange(IDC_PORT, &CConfigDlg::OnPortChange);
//             ConnectGuarded(m_pListPoints, &CPointListCtrl::SomeSignal, this, &CConfigDlg::OnPointDblClk);
//         }
//         bool OnInitDialog() override { CDialog::OnInitDialog(); /* ... */ return true; }
//     };
//
// Run it with DoModal() (1 = IDOK, 2 = IDCANCEL, -1 when the window could not be built), or, in tests, Create()
// and show() it like any widget.
class CDialog : public QDialog {
    Q_OBJECT

public:
    using ControlFactory = std::function<QWidget*(QWidget* pParent)>;

    // The template is looked up in res/ (FindDialogTemplate); an unknown id throws std::invalid_argument.
    explicit CDialog(int nIDTemplate, QWidget* pParent = nullptr);
    explicit CDialog(const DialogTemplate& dlgTemplate, QWidget* pParent = nullptr);
    ~CDialog() override;

    // Lets a derived window supply the widget of one control (its own class) instead of the stock one.
    // Call before Create()/DoModal(). The factory's widget is placed, ordered and enabled like any other.
    void RegisterControlClass(int nId, ControlFactory factory);

    // Builds the window and its controls, connects the message map and runs OnInitDialog (once; later calls
    // return true at once). A failure to build is reported in a message box and gives false.
    bool Create();
    // Create() when not done yet, then runs the window modally. Returns the EndDialog value.
    int DoModal();
    // Closes the window; DoModal returns nResult.
    void EndDialog(int nResult);

    // Runs DoDataExchange: true = controls to members (save), false = members to controls (load).
    // Returns whether the whole list went through. A rejected value has been reported already; any other
    // exception is shown with its text (or "Internal application error.") and also gives false.
    bool UpdateData(bool bSaveAndValidate = true);

    // The control's widget, nullptr for an unknown id or a control without a window (ActiveX).
    QWidget* GetDlgItem(int nId) const;
    const DialogTemplate& GetTemplate() const { return m_template; }
    // The radio buttons of the group that the control nIdFirst starts, in template order.
    std::vector<QAbstractButton*> GetRadioGroup(int nIdFirst) const;

    // Dialog units of this dialog's font, and a template rectangle in pixels.
    QSize GetDialogBaseUnits() const { return m_baseUnits; }
    QRect MapDialogRect(const DluRect& rect) const;

    // The system menu (shown by a right-click on the window's background), nullptr when the template has none.
    // It holds "Minimize" (when the template has a minimise box) and "Close"; items a window adds carry their
    // command id in QAction::data() and arrive at OnSysCommand:
    //     QAction* pAbout = GetSystemMenu()->addAction(LoadResourceString(IDS_ABOUTBOX));
    //     pAbout->setData(IDM_ABOUTBOX);
    QMenu* GetSystemMenu() const { return m_pSysMenu; }

    // QDialog's accept and reject go the dialog way: to OnOK and OnCancel, inside the handler guard.
    void accept() override;
    void reject() override;

protected:
    // Base: UpdateData(false); returns true. True puts the focus on the first enabled tab-stop control.
    virtual bool OnInitDialog();
    // Base: empty.
    virtual void DoDataExchange(CDataExchange* pDX);
    // Base: save; EndDialog(IDOK) only when the whole list went through.
    virtual void OnOK();
    // Base: EndDialog(IDCANCEL), no exchange.
    virtual void OnCancel();
    // A system-menu command. Base: SC_MINIMIZE minimises, SC_CLOSE closes (OnCancel); others do nothing.
    virtual void OnSysCommand(int nId, qintptr lParam);
    // The window's message map: connect control signals to handlers (MapClicked, MapSelChange,
    // ConnectGuarded). Called once by Create(), after the controls exist and before OnInitDialog.
    virtual void MessageMap();

    // BN_CLICKED of a button.
    template <class T>
    void MapClicked(int nId, void (T::*pfnHandler)())
    {
        ConnectGuarded(ControlAs<QAbstractButton>(nId), &QAbstractButton::clicked, static_cast<T*>(this), pfnHandler);
    }

    // CBN_SELCHANGE of a combo box: a selection the user made (not one set by the program).
    template <class T>
    void MapSelChange(int nId, void (T::*pfnHandler)())
    {
        ConnectGuarded(ControlAs<QComboBox>(nId), &QComboBox::activated, static_cast<T*>(this), pfnHandler);
    }

    // The control of that id as a W; std::logic_error when it is missing or of another class.
    template <class W>
    W* ControlAs(int nId) const
    {
        W* pWidget = qobject_cast<W*>(GetDlgItem(nId));
        if (pWidget == nullptr)
            throw std::logic_error("Control " + std::to_string(nId) + " is missing or of another class.");
        return pWidget;
    }

    void contextMenuEvent(QContextMenuEvent* pEvent) override;

private:
    struct Control {
        const DialogControl* m_pTemplate;
        QWidget* m_pWidget;  // nullptr for a control without a window
    };

    void BuildWindow();
    void BuildControls();
    void BuildRadioGroups();
    void BuildSystemMenu();
    void SetInitialFocus();

    const DialogTemplate& m_template;
    std::map<int, ControlFactory> m_mapFactories;
    std::vector<Control> m_aControls;     // template order
    std::vector<QButtonGroup*> m_aRadioGroups;
    QSize m_baseUnits;
    QMenu* m_pSysMenu = nullptr;
    bool m_bCreated = false;
    bool m_bEnded = false;
    int m_nEndResult = 0;
};
