// Whether the custody pages' web engine may start in this process, decided
// once before the first web view. The engine ends the whole program when it
// cannot run its helper or, run as root, its sandbox; so as root the
// sandbox is turned off for this process (before the engine reads its
// settings) and a missing helper means no web view at all: the custody
// panels stay blank and the program runs on.
#pragma once
#include <string>

// What the process knows before the engine starts.
struct SWebEngineFacts {
  bool root = false;               // effective user id 0
  bool sandboxAlreadyOff = false;  // the engine's own switches say so already
  bool helperFound = false;        // the engine's helper program is there
};

struct SWebEngineStart {
  bool canStart = false;
  bool turnSandboxOff = false;
  std::string trace;  // one line for the trace, empty when nothing is worth saying
};

SWebEngineStart DecideWebEngineStart(const SWebEngineFacts& facts);

// The facts of this process: the user, the engine's environment switches
// (QTWEBENGINE_DISABLE_SANDBOX, "--no-sandbox" in QTWEBENGINE_CHROMIUM_FLAGS)
// and the helper (QTWEBENGINE_PROCESS_PATH, else Qt's helper folder or the
// program's own folder).
SWebEngineFacts WebEngineFactsOfProcess();

// Decides once per process, applies the decision (the sandbox switch, the
// trace line) and returns whether web views may be made.
bool PrepareWebEngine();
