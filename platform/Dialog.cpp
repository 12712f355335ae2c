#include "Dialog.h"

#include "DialogUnits.h"
#include "Resources.h"
#include "TemplateControls.h"
#include "UserException.h"

#include <QButtonGroup>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

static const DialogTemplate& TemplateById(int nIDTemplate)
{
    const DialogTemplate* pTemplate = FindDialogTemplate(nIDTemplate);
    if (pTemplate == nullptr)
        throw std::invalid_argument("There is no dialog template " + std::to_string(nIDTemplate) + ".");
    return *pTemplate;
}

CDialog::CDialog(int nIDTemplate, QWidget* pParent) : CDialog(TemplateById(nIDTemplate), pParent)
{
}

CDialog::CDialog(const DialogTemplate& dlgTemplate, QWidget* pParent) : QDialog(pParent), m_template(dlgTemplate)
{
}

CDialog::~CDialog() = default;

void CDialog::RegisterControlClass(int nId, ControlFactory factory)
{
    m_mapFactories[nId] = std::move(factory);
}

bool CDialog::Create()
{
    if (m_bCreated)
        return true;
    const bool bBuilt = RunGuarded([this] {
        BuildWindow();
        BuildControls();
        BuildRadioGroups();
        BuildSystemMenu();
        MessageMap();
    });
    if (!bBuilt)
        return false;
    m_bCreated = true;
    bool bSetFocus = true;
    RunGuarded([&] { bSetFocus = OnInitDialog(); });
    if (bSetFocus)
        SetInitialFocus();
    return true;
}

int CDialog::DoModal()
{
    if (!Create())
        return -1;
    // EndDialog may already have run inside OnInitDialog: then the window never shows.
    if (m_bEnded) {
        m_bEnded = false;
        return m_nEndResult;
    }
    const int nResult = exec();
    m_bEnded = false;
    return nResult;
}

void CDialog::EndDialog(int nResult)
{
    m_bEnded = true;
    m_nEndResult = nResult;
    QDialog::done(nResult);
}

bool CDialog::UpdateData(bool bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
        return true;
    } catch (const UserException&) {
        return false; // the user has been told already
    } catch (const std::exception& e) {
        ReportException(&e, MB_ICONEXCLAMATION);
    } catch (...) {
        ReportException(nullptr, MB_ICONEXCLAMATION);
    }
    return false;
}

QWidget* CDialog::GetDlgItem(int nId) const
{
    if (nId == IDC_STATIC)
        return nullptr; // labels share the id; none of them is addressable
    for (const Control& control : m_aControls) {
        if (control.m_pTemplate->m_nId == nId)
            return control.m_pWidget;
    }
    return nullptr;
}

std::vector<QAbstractButton*> CDialog::GetRadioGroup(int nIdFirst) const
{
    std::vector<QAbstractButton*> aButtons;
    bool bInGroup = false;
    for (const Control& control : m_aControls) {
        if (!bInGroup) {
            bInGroup = control.m_pTemplate->m_nId == nIdFirst;
        } else if (control.m_pTemplate->m_nStyle & StyleGroup) {
            break;
        }
        if (bInGroup && control.m_pTemplate->m_kind == ControlKind::RadioButton) {
            if (auto* pButton = qobject_cast<QAbstractButton*>(control.m_pWidget))
                aButtons.push_back(pButton);
        }
    }
    return aButtons;
}

QRect CDialog::MapDialogRect(const DluRect& rect) const
{
    return ::MapDialogRect(rect, m_baseUnits);
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

void CDialog::OnOK()
{
    if (!UpdateData(true))
        return; // the window stays open with the focus in the rejected box
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::OnSysCommand(int nId, qintptr)
{
    if (nId == SC_MINIMIZE)
        showMinimized();
    else if (nId == SC_CLOSE)
        close();
}

void CDialog::MessageMap()
{
}

void CDialog::accept()
{
    RunGuarded([this] { OnOK(); });
}

void CDialog::reject()
{
    RunGuarded([this] { OnCancel(); });
}

void CDialog::contextMenuEvent(QContextMenuEvent* pEvent)
{
    // Only the background counts: the window itself, its labels and group boxes.
    QWidget* pChild = childAt(pEvent->pos());
    const bool bBackground = pChild == nullptr || qobject_cast<QLabel*>(pChild) != nullptr
        || qobject_cast<QGroupBox*>(pChild) != nullptr;
    if (m_pSysMenu == nullptr || !bBackground) {
        pEvent->ignore();
        return;
    }
    m_pSysMenu->popup(pEvent->globalPos());
    pEvent->accept();
}

void CDialog::BuildWindow()
{
    setWindowTitle(QString::fromUtf8(m_template.m_strCaption.data(),
                                     static_cast<qsizetype>(m_template.m_strCaption.size())));
    setFont(DialogFont(m_template.m_strFontFace, m_template.m_nFontPoints));
    m_baseUnits = DialogBaseUnits(font());

    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint;
    if (m_template.m_nStyle & DialogCaption)
        flags |= Qt::WindowTitleHint;
    if (m_template.m_nStyle & DialogSysMenu)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (m_template.m_nStyle & DialogMinimizeBox)
        flags |= Qt::WindowMinimizeButtonHint;
    setWindowFlags(flags);
    // The template gives the client area; it never changes.
    setFixedSize(MapDialogRect(m_template.m_rect).size());
    setSizeGripEnabled(false);
}

void CDialog::BuildControls()
{
    QWidget* pPrevious = nullptr;
    for (const DialogControl& control : m_template.m_aControls) {
        const auto itFactory = m_mapFactories.find(control.m_nId);
        QWidget* pWidget = itFactory != m_mapFactories.end() && control.m_nId != IDC_STATIC
            ? itFactory->second(this)
            : CreateTemplateControl(control, this);
        m_aControls.push_back({&control, pWidget});
        if (pWidget == nullptr)
            continue;
        if (pWidget->parentWidget() != this)
            pWidget->setParent(this);
        if (control.m_nId != IDC_STATIC)
            pWidget->setObjectName(QString::number(control.m_nId));
        pWidget->setGeometry(PlaceTemplateControl(control, pWidget, MapDialogRect(control.m_rect)));
        // Earlier controls lie on top, as in a dialog: group boxes (late in the template) stay underneath.
        pWidget->lower();

        const bool bStatic = control.m_kind == ControlKind::Label || control.m_kind == ControlKind::Icon
            || control.m_kind == ControlKind::GroupBox;
        if (bStatic)
            pWidget->setFocusPolicy(Qt::NoFocus);
        else
            pWidget->setFocusPolicy((control.m_nStyle & StyleTabStop) ? Qt::StrongFocus : Qt::ClickFocus);
        if (pWidget->focusPolicy() != Qt::NoFocus) {
            if (pPrevious != nullptr)
                setTabOrder(pPrevious, pWidget);
            pPrevious = pWidget;
        }

        if (auto* pButton = qobject_cast<QPushButton*>(pWidget)) {
            if (control.m_nId == IDOK)
                connect(pButton, &QPushButton::clicked, this, [this] { RunGuarded([this] { OnOK(); }); });
            else if (control.m_nId == IDCANCEL)
                connect(pButton, &QPushButton::clicked, this, [this] { RunGuarded([this] { OnCancel(); }); });
        }
        pWidget->show();
    }
}

void CDialog::BuildRadioGroups()
{
    // A group runs from a control that starts one to the next; its radio buttons exclude one another.
    QButtonGroup* pGroup = nullptr;
    for (const Control& control : m_aControls) {
        if (control.m_pTemplate->m_nStyle & StyleGroup)
            pGroup = nullptr;
        if (control.m_pTemplate->m_kind != ControlKind::RadioButton)
            continue;
        auto* pButton = qobject_cast<QAbstractButton*>(control.m_pWidget);
        if (pButton == nullptr)
            continue;
        if (pGroup == nullptr) {
            pGroup = new QButtonGroup(this);
            pGroup->setExclusive(true);
            m_aRadioGroups.push_back(pGroup);
            // Tab enters a group of automatic radio buttons at its checked button.
            if (pButton->focusPolicy() == Qt::StrongFocus) {
                connect(pGroup, &QButtonGroup::buttonToggled, this, [pGroup](QAbstractButton* pToggled, bool bChecked) {
                    if (!bChecked)
                        return;
                    for (QAbstractButton* pMember : pGroup->buttons())
                        pMember->setFocusPolicy(pMember == pToggled ? Qt::StrongFocus : Qt::ClickFocus);
                });
            }
        }
        pGroup->addButton(pButton);
    }
}

void CDialog::BuildSystemMenu()
{
    if ((m_template.m_nStyle & DialogSysMenu) == 0)
        return;
    m_pSysMenu = new QMenu(this);
    if (m_template.m_nStyle & DialogMinimizeBox)
        m_pSysMenu->addAction(tr("Mi&nimize"))->setData(SC_MINIMIZE);
    m_pSysMenu->addAction(tr("&Close"))->setData(SC_CLOSE);
    connect(m_pSysMenu, &QMenu::triggered, this, [this](QAction* pAction) {
        bool bOk = false;
        const int nId = pAction->data().toInt(&bOk);
        if (bOk)
            RunGuarded([&] { OnSysCommand(nId, 0); });
    });
}

void CDialog::SetInitialFocus()
{
    for (const Control& control : m_aControls) {
        QWidget* pWidget = control.m_pWidget;
        if (pWidget != nullptr && (pWidget->focusPolicy() & Qt::TabFocus) && pWidget->isEnabled()
            && !pWidget->isHidden()) {
            pWidget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}
