#include "sim/CommandLine.h"

#include <iterator>
#include <string>
#include <vector>

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

CLI::App* addValidate(CLI::App& app, ValidateOptions& options) {
    CLI::App* validate = app.add_subcommand(
        "validate", "Run a vessel module through the validator's checks, each in a process of "
                    "its own (not on Windows)");
    validate->add_option("MODULE", options.module, "The module file")->required();
    validate->add_option("--class", options.className,
                         "Its vessel class (default: the file's name without extension)");
    validate->add_option("--strictness", options.strictness, "1 to 10: counts and bounds")
        ->check(CLI::Range(1, 10))
        ->capture_default_str();
    validate->add_option("--seed", options.seed, "Seed of the first run")->capture_default_str();
    validate->add_option("--repeat", options.repeat, "Runs of the checks, with successive seeds")
        ->check(CLI::Range(1, 1000000))
        ->capture_default_str();
    validate->add_option("--timeout", options.timeout, "Seconds one check may take")
        ->check(CLI::Range(0.001, 1e6))
        ->capture_default_str();
    validate->add_option("--report", options.report, "Write a JUnit XML report to this file");
    validate->add_option("--root", options.root,
                         "A runtime folder to take the crew runtime and the colony from");
    validate->add_option("--only", options.only, "Run this check alone")
        ->check(CLI::IsMember(
            std::vector<std::string>(std::begin(kValidateChecks), std::end(kValidateChecks))));
    validate->footer(kValidateHelp);
    return validate;
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
    const CLI::App* validate = addValidate(app, options.validate);
    try {
        app.parse(argc, argv);
        options.validating = validate->parsed();
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
