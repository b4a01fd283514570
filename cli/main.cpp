// velmar-cli: the window's jobs for scripts, servers and machines without a
// display.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/CliRun.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto parsed = velmar::ParseCliOptions(arguments);
    if (const auto* refusal = std::get_if<std::string>(&parsed)) {
        std::fprintf(stderr, "velmar-cli: %s\n%s", refusal->c_str(), velmar::CliUsage().c_str());
        return 1;
    }
    const velmar::CliOptions& options = std::get<velmar::CliOptions>(parsed);
    if (options.command == velmar::CliCommand::Help) {
        std::fputs(velmar::CliUsage().c_str(), stdout);
        return 0;
    }
    if (options.command == velmar::CliCommand::Version) {
        std::puts("velmar-cli " VELMAR_VERSION);
        return 0;
    }
    return velmar::RunCli(options);
}
