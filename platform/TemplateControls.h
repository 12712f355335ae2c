#pragma once

#include "DialogTemplate.h"

#include <QRect>

class QWidget;

// The stock widget for one control of a template, with its text, initialisation items and the styles that
// matter; position, focus and groups are the dialog's business. Returns nullptr for a control that has no
// window here (ControlKind::ActiveX).
//   PushButton -> QPushButton, RadioButton -> QRadioButton, GroupBox -> QGroupBox, Label and Icon -> QLabel,
//   Edit -> CEdit, ListBox -> CListBox, ComboBox -> QComboBox (no item selected), ListView -> QTableWidget.
QWidget* CreateTemplateControl(const DialogControl& control, QWidget* pParent);

// Where a control of the template goes, given its rectangle mapped to pixels: combo boxes keep their closed
// height (the template's height includes the dropped-down list), an icon takes its image's size, and a
// left-aligned label is widened to its text on one line when the dialog font runs wider than the template's.
QRect PlaceTemplateControl(const DialogControl& control, QWidget* pWidget, const QRect& rcMapped);
