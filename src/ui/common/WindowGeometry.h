#pragma once

class QWidget;

// Sizes and positions of the windows are given in twips (1/1440 inch).
int TwipsToPixels(int twips, const QWidget* widget);

// Puts a top-level window in the middle of the screen's free area, so that the dialogs it opens (centred on
// their parent) land on the screen too.
void CentreOnScreen(QWidget* window);

// A window that the user sizes keeps its size and place from one run to the next, under its object name in the
// settings' "Windows" section. Restore after the window has its design size; save as it closes.
void RestorePlacement(QWidget* window);
void SavePlacement(const QWidget* window);
