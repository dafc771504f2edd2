#pragma once

#include <QString>

// "vardel-data print" (PrintCommand, declared with the other commands in Commands.h) runs in vardel-data-print.

// The folder vardel-data-print was started in, noted when its application was created, before the dispatch made
// the data folder the working folder: a relative --out counts from it, as the user typed it.
QString StartingFolder();
