#pragma once

#include <QString>
#include <QWidget>

#include <stdexcept>
#include <string>

class CDialog;
class QLineEdit;

// One run of a dialog's exchange list, from the controls to the members (save) or back (load).
// DoDataExchange calls the DDX_ routines below in its list order; a rejected value ends the run.
class CDataExchange {
public:
    CDataExchange(CDialog* pDlgWnd, bool bSaveAndValidate);

    // The control with that id, remembered as the one to return to on Fail(). A control the template does not
    // have (or that has no window) is a programming error and throws std::logic_error.
    QWidget* PrepareCtrl(int nIdc);
    // The same for an edit box; Fail() then also selects its whole text.
    QLineEdit* PrepareEditCtrl(int nIdc);

    // Ends the run after the user has been told why: on a save, the focus goes to the last prepared control
    // (an edit's whole text selected); throws UserException.
    [[noreturn]] void Fail();

    bool m_bSaveAndValidate;
    CDialog* m_pDlgWnd;

private:
    QWidget* m_pLastControl = nullptr;
    bool m_bEditLastControl = false;
};

// Text of any control with a text: save takes the whole text, load sets it.
void DDX_Text(CDataExchange* pDX, int nIdc, QString& strValue);

// A number box: save parses the text by the number-box rules (ParseNumberBox); a rejected text shows
// "Please enter a number." (OK, exclamation icon) and fails the run, leaving the member as it was.
// Load writes FormatNumberBox of the member ("0", "2.5", at most 15 significant digits).
void DDX_Text(CDataExchange* pDX, int nIdc, double& dValue);

// Selection index of a combo box: save gives -1 when nothing is selected; load selects the item at the
// index, and an index outside the list leaves nothing selected.
void DDX_CBIndex(CDataExchange* pDX, int nIdc, int& nIndex);

// Radio group starting at nIdc (up to the next control that starts a group): save gives the position of the
// checked button among the group's radio buttons, -1 when none is; load checks that button, clears the others.
void DDX_Radio(CDataExchange* pDX, int nIdc, int& nValue);

// Binds a member pointer to the dialog's control of that id the first time it is met (normally the first load);
// later runs leave it alone. The control must be a T (see CDialog::RegisterControlClass), else std::logic_error.
template <class T>
void DDX_Control(CDataExchange* pDX, int nIdc, T*& pControl)
{
    if (pControl != nullptr)
        return;
    QWidget* pWidget = pDX->PrepareCtrl(nIdc);
    T* pTyped = dynamic_cast<T*>(pWidget);
    if (pTyped == nullptr)
        throw std::logic_error("Control " + std::to_string(nIdc) + " is a " + pWidget->metaObject()->className()
                               + ", not the class its member expects.");
    pControl = pTyped;
}
