#pragma once

#include <QIcon>

// The program's icon with every size drawn for it, so that small frames do not shrink the large picture. The
// pictures are read when a frame first asks for one, not at start-up: a window system that shows no icon never
// decodes them.
QIcon ApplicationIcon();
