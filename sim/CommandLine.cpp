#include "sim/CommandLine.h"

#include <CLI/CLI.hpp>

namespace vx {

namespace {

void addOptions(CLI::App& app, VxsimOptions& options) {
    app.add_option("--root", options.root,
                   "Folder to run in (default: the runtime folder beside vxsim)");
    app.add_option("--seed", options.seed, "Seed of the host's random numbers")
        ->capture_default_str();
    app.add_flag("--wallclock", options.wallclock,
                 "System time in real seconds instead of the sum of the steps");
    auto* strict = app.add_flag(
        "--strict", options.strict,
        "Fail the run (exit status 1) when a module allocates memory inside one of its "
        "callbacks");
    auto* interactive =
        app.add_flag(
               "--interactive", options.interactive,
               "Fly the scenario from this terminal, in real time (no script; F2 saves beside it)")
            ->excludes(strict);
    app.add_option("--flight-model", options.flightModel, "Flight model passed to each vessel")
        ->capture_default_str();
    app.add_option("SCENARIO", options.scenario, "Scenario file (default: the built-in demo)");
    app.add_option("SCRIPT", options.script,
                   "Script file (default: -e, else standard input when a scenario is given, "
                   "else the built-in demo script)")
        ->excludes(interactive);
    app.add_option("-e", options.inlineScript, "Script commands separated by ';'")
        ->excludes(interactive);
}

} // namespace

std::optional<int> parseCommandLine(int argc, char** argv, VxsimOptions& options) {
    CLI::App app{"vxsim: runs a scenario in the stand-in host and a script against it, or, with "
                 "--interactive, flies it from this terminal"};
    app.name("vxsim"); // the usage line shows the name a user types, not where it lies
    app.footer("More: vxsim help commands (the script commands), vxsim help keys (the key names), "
               "vxsim help transcript (what each line of the transcript means).");
    app.set_version_flag("--version", std::string("vxsim ") + VX_VERSION);
    addOptions(app, options);
    CLI::App* help = app.add_subcommand("help", "Print the script commands, the key names or the "
                                                "transcript's kinds of line");
    help->add_option("TOPIC", options.helpTopic, "commands, keys or transcript")
        ->required()
        ->check(CLI::IsMember({"commands", "keys", "transcript"}));
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& call) {
        return app.exit(call);
    } catch (const CLI::CallForVersion& call) {
        return app.exit(call);
    } catch (const CLI::ParseError& error) {
        app.exit(error);
        return 2;
    }
    return std::nullopt;
}

} // namespace vx
