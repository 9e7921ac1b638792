// corvane-cli: the table of its commands, in the order the help lists them.
#include "cli/Commands.h"

namespace {

using namespace corvane::cli;

constexpr CommandSetup kCommands[] = {
    AddConvertCommand, AddBatchCommand,     AddPreviewCommand,
    AddInspectCommand, AddUnwrapCommand,    AddCheckCommand,
#ifdef CORVANE_CLI_PLOT
    AddPlotCommand,    AddCrossplotCommand,
#endif
};

}  // namespace

int main(int argc, char** argv) { return RunCommandLine(argc, argv, kCommands); }
