// The shell's own windows in their places: the trading pane's view, the
// keyboard-input box and the notice, user-information and settings dialogs
// in the plug-in slots (a slot a test or another module
// has filled already is left as it is), and the server choice dialog as
// the update check's chooser. The application object installs them at the
// start of its initialisation, before the update check and the login.
#pragma once

void InstallShellWindows();
