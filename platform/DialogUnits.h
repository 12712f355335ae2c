#pragma once

#include "DialogTemplate.h"

#include <QFont>
#include <QRect>
#include <QSize>

#include <string_view>

// Dialog units to pixels, the way the Windows dialog manager maps them: a horizontal unit is a quarter of the
// dialog font's average character width, a vertical unit an eighth of its height.

// a * b / c rounded to the nearest integer, halves away from zero (0 when c is 0).
int MulDiv(int nA, int nB, int nC);

// The base units of a font: cx = average width of "A".."Z","a".."z" (rounded as Windows rounds it), cy = height.
QSize DialogBaseUnits(const QFont& font);

// Each of x, y, width and height mapped on its own: x*cx/4, y*cy/8, width*cx/4, height*cy/8.
QRect MapDialogRect(const DluRect& rect, QSize baseUnits);

// The font a template asks for when it is installed, otherwise an installed sans font (DejaVu Sans when present)
// at the same point size, so that texts measured in it fit the mapped rectangles.
QFont DialogFont(std::string_view strFace, int nPoints);
