#pragma once
#include "platform/Screen.h"

#include <QRect>

#include <cstdint>
#include <string>

class QFrame;
class QWidget;
class cuiGrid;

// The window state as the edit-form placements keep it: 0 normal,
// 1 minimised, 2 maximised.
int32_t WindowStateOf(const QWidget& form);
plat::Rect RectOf(const QRect& r);

// Stores the form's normal bounds, its state, the grid's position (none
// without a grid) and flag under name in the edit-form placements.
void StoreFormPlacement(const std::string& name, const QWidget& form, const cuiGrid* grid, int32_t flag);

// A raised panel with a border of 8 pixels around a lowered one, both with
// bevels 2 wide; returns the raised one, inner the lowered one, laid out
// edge to edge in it.
QFrame* MakeBevelledPanel(QWidget* parent, QFrame*& inner);
