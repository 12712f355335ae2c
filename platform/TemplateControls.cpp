#include "TemplateControls.h"

#include "Edit.h"
#include "ListBox.h"
#include "Resources.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <algorithm>

// Size of the icons a static icon control shows (the system icon size).
constexpr int IconSize = 32;

static QString Text(const DialogControl& control)
{
    return QString::fromUtf8(control.m_strText.data(), static_cast<qsizetype>(control.m_strText.size()));
}

static Qt::Alignment HorizontalAlignment(unsigned nStyle)
{
    if (nStyle & StyleCenter)
        return Qt::AlignHCenter;
    if (nStyle & StyleRight)
        return Qt::AlignRight;
    return Qt::AlignLeft;
}

static QWidget* CreateLabel(const DialogControl& control, QWidget* pParent)
{
    auto* pLabel = new QLabel(Text(control), pParent);
    pLabel->setTextFormat(Qt::PlainText);
    pLabel->setWordWrap(false);
    pLabel->setAlignment(HorizontalAlignment(control.m_nStyle)
                         | ((control.m_nStyle & StyleCenterImage) ? Qt::AlignVCenter : Qt::AlignTop));
    if (control.m_nStyle & StyleClientEdge) {
        pLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pLabel->setLineWidth(2);
    }
    return pLabel;
}

static QWidget* CreateIcon(const DialogControl& control, QWidget* pParent)
{
    auto* pLabel = new QLabel(pParent);
    pLabel->setPixmap(LoadIconResource(control.m_nImageId).pixmap(IconSize, IconSize));
    return pLabel;
}

static QWidget* CreateEdit(const DialogControl& control, QWidget* pParent)
{
    auto* pEdit = new CEdit(pParent);
    pEdit->SetAutoHScroll((control.m_nStyle & StyleAutoHScroll) != 0);
    pEdit->setAlignment(HorizontalAlignment(control.m_nStyle) | Qt::AlignVCenter);
    pEdit->setText(Text(control));
    return pEdit;
}

static QWidget* CreateListBox(const DialogControl& control, QWidget* pParent)
{
    auto* pList = new CListBox(pParent);
    pList->SetItemAlignment((control.m_nStyle & StyleRight) ? Qt::AlignRight : Qt::AlignLeft);
    pList->setSortingEnabled((control.m_nStyle & StyleSort) != 0);
    return pList;
}

static QWidget* CreateComboBox(const DialogControl& control, QWidget* pParent)
{
    auto* pCombo = new QComboBox(pParent);
    pCombo->setEditable((control.m_nStyle & StyleDropDownList) == 0);
    for (std::string_view strItem : control.m_astrItems)
        pCombo->addItem(QString::fromUtf8(strItem.data(), static_cast<qsizetype>(strItem.size())));
    if (control.m_nStyle & StyleSort)
        pCombo->model()->sort(0);
    // A filled drop-down list starts with nothing selected; the data exchange picks the item.
    pCombo->setCurrentIndex(-1);
    return pCombo;
}

static QWidget* CreateListView(const DialogControl& control, QWidget* pParent)
{
    auto* pTable = new QTableWidget(pParent);
    pTable->verticalHeader()->hide();
    pTable->setShowGrid(false);
    pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    pTable->setSelectionMode((control.m_nStyle & StyleSingleSel) ? QAbstractItemView::SingleSelection
                                                                 : QAbstractItemView::ExtendedSelection);
    pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pTable->setTabKeyNavigation(false); // Tab leaves a list, as in any dialog
    pTable->setSortingEnabled((control.m_nStyle & StyleSort) != 0);
    return pTable;
}

QWidget* CreateTemplateControl(const DialogControl& control, QWidget* pParent)
{
    switch (control.m_kind) {
    case ControlKind::PushButton: {
        auto* pButton = new QPushButton(Text(control), pParent);
        pButton->setAutoDefault(true);
        pButton->setDefault((control.m_nStyle & StyleDefault) != 0);
        return pButton;
    }
    case ControlKind::RadioButton: {
        auto* pRadio = new QRadioButton(Text(control), pParent);
        pRadio->setAutoExclusive(false); // the dialog puts each radio group into an exclusive button group
        return pRadio;
    }
    case ControlKind::GroupBox:
        return new QGroupBox(Text(control), pParent);
    case ControlKind::Label:
        return CreateLabel(control, pParent);
    case ControlKind::Icon:
        return CreateIcon(control, pParent);
    case ControlKind::Edit:
        return CreateEdit(control, pParent);
    case ControlKind::ListBox:
        return CreateListBox(control, pParent);
    case ControlKind::ComboBox:
        return CreateComboBox(control, pParent);
    case ControlKind::ListView:
        return CreateListView(control, pParent);
    case ControlKind::ActiveX:
        return nullptr;
    }
    return nullptr;
}

QRect PlaceTemplateControl(const DialogControl& control, QWidget* pWidget, const QRect& rcMapped)
{
    QRect rc = rcMapped;
    if (qobject_cast<QComboBox*>(pWidget) != nullptr) {
        rc.setHeight(pWidget->sizeHint().height());
    } else if (control.m_kind == ControlKind::Icon) {
        rc.setSize(QSize(IconSize, IconSize));
    } else if (auto* pLabel = qobject_cast<QLabel*>(pWidget); pLabel != nullptr && control.m_kind == ControlKind::Label
               && (control.m_nStyle & (StyleCenter | StyleRight | StyleClientEdge)) == 0) {
        rc.setWidth(std::max(rc.width(), pLabel->fontMetrics().horizontalAdvance(pLabel->text())));
    }
    return rc;
}
