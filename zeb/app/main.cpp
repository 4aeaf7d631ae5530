// ZEB: the program. Everything but this function lives in the shell's
// libraries, so tests can run the same start-up in process.
#include "zeb/shell/app/zeb_app.h"

int main(int argc, char** argv) { return RunZebProgram(argc, argv); }
