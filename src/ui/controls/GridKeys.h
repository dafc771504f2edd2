#pragma once

class QAbstractItemView;

// The keyboard rule of every grid of the program: Tab and Shift+Tab move on to the next and previous control, as
// anywhere else in a window, instead of walking the cells; Up, Down, Page Up, Page Down, Home and End move the
// current row (Home and End to the first and last row). One call, after the grid is made.
void SetUpGridKeys(QAbstractItemView* grid);
