#include "DataExchange.h"

#include "Dialog.h"
#include "Edit.h"
#include "MessageBox.h"
#include "NumberBox.h"
#include "UserException.h"
#include "WindowText.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>

#include <vector>

CDataExchange::CDataExchange(CDialog* pDlgWnd, bool bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

QWidget* CDataExchange::PrepareCtrl(int nIdc)
{
    QWidget* pWidget = m_pDlgWnd->GetDlgItem(nIdc);
    if (pWidget == nullptr)
        throw std::logic_error("Control " + std::to_string(nIdc) + " is not a window of this dialog.");
    m_pLastControl = pWidget;
    m_bEditLastControl = false;
    return pWidget;
}

QLineEdit* CDataExchange::PrepareEditCtrl(int nIdc)
{
    QWidget* pWidget = PrepareCtrl(nIdc);
    auto* pEdit = qobject_cast<QLineEdit*>(pWidget);
    if (pEdit == nullptr)
        throw std::logic_error("Control " + std::to_string(nIdc) + " is not an edit box.");
    m_bEditLastControl = true;
    return pEdit;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_pLastControl != nullptr) {
        m_pLastControl->setFocus(Qt::OtherFocusReason);
        if (m_bEditLastControl)
            static_cast<QLineEdit*>(m_pLastControl)->selectAll();
    }
    throw UserException();
}

void DDX_Text(CDataExchange* pDX, int nIdc, QString& strValue)
{
    QWidget* pWidget = pDX->PrepareCtrl(nIdc);
    if (pDX->m_bSaveAndValidate)
        strValue = GetWindowText(pWidget);
    else
        SetWindowText(pWidget, strValue);
}

void DDX_Text(CDataExchange* pDX, int nIdc, double& dValue)
{
    QLineEdit* pEdit = pDX->PrepareEditCtrl(nIdc);
    if (!pDX->m_bSaveAndValidate) {
        pEdit->setText(QString::fromStdString(FormatNumberBox(dValue)));
        return;
    }
    // The whole text is parsed: reading only a leading part would silently change long numbers.
    const std::optional<double> value = ParseNumberBox(pEdit->text().toStdString());
    if (!value) {
        AfxMessageBox(QStringLiteral("Please enter a number."), MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
    }
    dValue = *value;
}

void DDX_CBIndex(CDataExchange* pDX, int nIdc, int& nIndex)
{
    QWidget* pWidget = pDX->PrepareCtrl(nIdc);
    auto* pCombo = qobject_cast<QComboBox*>(pWidget);
    if (pCombo == nullptr)
        throw std::logic_error("Control " + std::to_string(nIdc) + " is not a combo box.");
    if (pDX->m_bSaveAndValidate)
        nIndex = pCombo->currentIndex();
    else
        pCombo->setCurrentIndex(nIndex >= 0 && nIndex < pCombo->count() ? nIndex : -1);
}

void DDX_Radio(CDataExchange* pDX, int nIdc, int& nValue)
{
    pDX->PrepareCtrl(nIdc);
    const std::vector<QAbstractButton*> aButtons = pDX->m_pDlgWnd->GetRadioGroup(nIdc);
    if (aButtons.empty())
        throw std::logic_error("Control " + std::to_string(nIdc) + " does not start a group of radio buttons.");
    if (pDX->m_bSaveAndValidate) {
        nValue = -1;
        for (std::size_t i = 0; i < aButtons.size(); ++i) {
            if (aButtons[i]->isChecked())
                nValue = static_cast<int>(i);
        }
        return;
    }
    // An exclusive group cannot clear its last checked button, so lift the rule while the group is set.
    QButtonGroup* pGroup = aButtons.front()->group();
    const bool bExclusive = pGroup != nullptr && pGroup->exclusive();
    if (bExclusive)
        pGroup->setExclusive(false);
    for (std::size_t i = 0; i < aButtons.size(); ++i)
        aButtons[i]->setChecked(static_cast<int>(i) == nValue);
    if (bExclusive)
        pGroup->setExclusive(true);
}
