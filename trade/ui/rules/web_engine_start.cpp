// The web engine's start decision (web_engine_start.h).
#include "trade/ui/rules/web_engine_start.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <cstdlib>
#include <cstring>

#include "sharecode/mythread.h"

namespace {

constexpr const char* kHelperName = "/QtWebEngineProcess";

bool IsExecutable(const std::string& path) {
  return !path.empty() && access(path.c_str(), X_OK) == 0;
}

bool HelperFound() {
  const char* given = std::getenv("QTWEBENGINE_PROCESS_PATH");
  if (given && *given) return IsExecutable(given);
  const std::string qtFolder =
      QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath).toStdString();
  if (IsExecutable(qtFolder + kHelperName)) return true;
  return QCoreApplication::instance() &&
         IsExecutable(QCoreApplication::applicationDirPath().toStdString() + kHelperName);
}

}  // namespace

SWebEngineStart DecideWebEngineStart(const SWebEngineFacts& facts) {
  SWebEngineStart start;
  if (!facts.helperFound) {
    start.trace = "web engine helper QtWebEngineProcess not found: custody pages stay blank\n";
    return start;
  }
  start.canStart = true;
  if (facts.root && !facts.sandboxAlreadyOff) {
    start.turnSandboxOff = true;
    start.trace = "running as root: web engine sandbox turned off for this process\n";
  }
  return start;
}

SWebEngineFacts WebEngineFactsOfProcess() {
  SWebEngineFacts facts;
  facts.root = geteuid() == 0;
  const char* off = std::getenv("QTWEBENGINE_DISABLE_SANDBOX");
  const char* flags = std::getenv("QTWEBENGINE_CHROMIUM_FLAGS");
  facts.sandboxAlreadyOff = (off && *off) || (flags && std::strstr(flags, "--no-sandbox"));
  facts.helperFound = HelperFound();
  return facts;
}

bool PrepareWebEngine() {
  static const bool canStart = [] {
    const SWebEngineStart start = DecideWebEngineStart(WebEngineFactsOfProcess());
    if (start.turnSandboxOff) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
    if (!start.trace.empty()) WriteTraceLine(TRACE_HERE, 0, "%s", start.trace.c_str());
    return start.canStart;
  }();
  return canStart;
}
