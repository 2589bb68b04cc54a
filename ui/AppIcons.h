#pragma once
#include "ui/cuiMain.h"

// The program's own pictures, drawn at start, in the order that cell
// definitions and tree nodes name them by index.

// 0 radio, 1 folder, 2 and 3 notes, 4 to 9 banks, 10 warning mark, 11 error mark.
ImageList MakeTreeImageList();
// 0 New, 1 Open, 2 Save, 3 to 6 COM1 to COM4, 7 clone read, 8 clone write,
// 9 clone information, 10 pen, 11 fill, 12 slider, 13 A/D monitor.
ImageList MakeToolBarImageList();
