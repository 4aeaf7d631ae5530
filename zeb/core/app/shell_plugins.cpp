#include "zeb/core/app/shell_plugins.h"

SShellPlugins& ShellPlugins() {
  static SShellPlugins plugins;
  return plugins;
}
