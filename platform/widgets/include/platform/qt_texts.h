// Qt's own user-visible texts (the standard buttons of a box, the edit
// fields' context menus, the file dialogs) in Chinese, as a Chinese desktop
// shows them. The texts come from Qt's own catalogue installed with the
// system's packages, never written here; without the catalogue Qt keeps its
// English texts and the program runs on.
#pragma once

namespace platform {

// Loads the catalogue into the running application once (later calls only
// say whether it is loaded). Call after the application object exists, on
// the user-interface thread. False without an application or a catalogue.
bool InstallQtChineseTexts();

}  // namespace platform
