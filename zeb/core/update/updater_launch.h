// Starting the separate update program "Novarel" from the program folder:
// the one start code of the program (the start-up check and the main
// frame's update offer both use it). The program is started with an
// argument vector, never through a shell, in a process group of its own:
//   Novarel <full path of this program> <process id> quenlirt <flag>
// so it can wait for this process to end before it replaces its files.
#pragma once
#include <string>
#include <vector>

constexpr const char* kUpdaterProgram = "Novarel";
constexpr const char* kUpdaterWord = "quenlirt";
// Where a new updater waits to replace the running one.
constexpr const char* kPendingUpdaterFolder = "update/";

// The updater's arguments for this program's path, its process id and the
// flag (1 from the start-up check and the notice offer, 0 from the menu).
std::vector<std::string> UpdaterArguments(const std::string& selfPath, long pid, int flag);

// Starts the updater of the program folder; false when it cannot be started.
bool LaunchUpdater(int flag);

// Moves "update/Novarel" over "Novarel" in the program folder (copied
// beside the target and renamed, so a failed copy leaves the old updater
// whole; the source goes once the copy is in place). False when there was
// nothing to move or the move failed.
bool InstallPendingUpdater(const std::string& programDir);
