#pragma once

#include <QString>

#include <functional>

class QWidget;

// Runs a change that writes its history. When the history cannot be written, the change has not been made: the
// user is told so, with the system's reason, and false comes back; the window stays as it was, so that nothing
// typed is lost and the change can be tried again once the disk has room.
bool ChangeOrExplain(QWidget* owner, const std::function<void()>& change);

QString ChangeRefusedText(const QString& reason);
inline const QString ChangeRefusedTitle = QStringLiteral("Change Not Saved");
