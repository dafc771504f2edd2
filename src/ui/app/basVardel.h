#pragma once

#include <QString>
#include <QStringList>

// basVardel: the program's start-up routine and the pieces it is made of.

// The program's entry: prepares the program-wide values, refuses a second copy, shows the title window and
// runs the event loop. Returns the program's exit code.
int basVardel_Main(int argc, char** argv);

// Connects to the server the user chose (ChosenServer: --server, VARDEL_SERVER, the setting "Server=") and makes
// it the active store. Returns true with the folder left active when none was chosen or the server is active;
// when it cannot be reached or its schema is newer, shows why and returns false, and the program ends.
bool ConnectChosenServer(const QStringList& arguments);

// True when a window system is there to show windows on, or a Qt platform or display is named explicitly, in the
// environment or with Qt's own -platform and -display options among the arguments.
bool DisplayAvailable(const QStringList& arguments = QStringList());

class SingleInstance;
class DataFolderClaim;
// Takes the instance lock; when another copy holds it, shows the refusal and returns true.
bool RefuseSecondInstance(SingleInstance& instance);
// The same for the data folder: a copy started with another runtime folder (another desktop session, another
// XDG_RUNTIME_DIR) on the same data folder is refused with the same message.
bool RefuseSecondInstance(DataFolderClaim& claim);

// The refusal shown when another copy is already running.
QString AlreadyRunningText();
QString AlreadyRunningTitle();
