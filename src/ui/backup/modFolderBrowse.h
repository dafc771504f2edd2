#pragma once

#include <QString>

class QWidget;

// Asks for a folder with the system's folder chooser, prompt as its title. Returns the chosen folder's path, or
// an empty text when the user cancels.
QString BrowseForFolder(QWidget* owner, const QString& prompt);
