// Pictures of the notice, user-information, information and settings
// dialogs in the running program, taken by the screenshot run once the main
// frame is up: each opened the way the program opens it (the notice
// through the frame's notice slot, the user's details and the settings by
// their commands, the information window as the K-line chart does, its
// text asked of the quote simulator).
#pragma once
#include "tools/screenshot/shell_pictures.h"

class CMainFrame;

// The pictures taken (of five).
int PictureDialogs(CMainFrame& frame, const KeepPicture& keep, int timeoutMs);
