#pragma once

class QWidget;

// Sizes and positions of the windows are given in twips (1/1440 inch).
int TwipsToPixels(int twips, const QWidget* widget);

// Puts a top-level window in the middle of the screen's free area, so that the dialogs it opens (centred on
// their parent) land on the screen too.
void CentreOnScreen(QWidget* window);
