#include "WindowText.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

QString GetWindowText(const QWidget* pWidget)
{
    if (pWidget == nullptr)
        return {};
    if (const auto* pEdit = qobject_cast<const QLineEdit*>(pWidget))
        return pEdit->text();
    if (const auto* pLabel = qobject_cast<const QLabel*>(pWidget))
        return pLabel->text();
    if (const auto* pButton = qobject_cast<const QAbstractButton*>(pWidget))
        return pButton->text();
    if (const auto* pGroup = qobject_cast<const QGroupBox*>(pWidget))
        return pGroup->title();
    if (const auto* pCombo = qobject_cast<const QComboBox*>(pWidget))
        return pCombo->currentText();
    if (pWidget->isWindow())
        return pWidget->windowTitle();
    return {};
}

void SetWindowText(QWidget* pWidget, const QString& strText)
{
    if (pWidget == nullptr)
        return;
    if (auto* pEdit = qobject_cast<QLineEdit*>(pWidget))
        pEdit->setText(strText);
    else if (auto* pLabel = qobject_cast<QLabel*>(pWidget))
        pLabel->setText(strText);
    else if (auto* pButton = qobject_cast<QAbstractButton*>(pWidget))
        pButton->setText(strText);
    else if (auto* pGroup = qobject_cast<QGroupBox*>(pWidget))
        pGroup->setTitle(strText);
    else if (auto* pCombo = qobject_cast<QComboBox*>(pWidget); pCombo != nullptr && pCombo->isEditable())
        pCombo->setEditText(strText);
    else if (pWidget->isWindow())
        pWidget->setWindowTitle(strText);
}
