#include "app/Options.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <memory>
#include <string>

#include "store/WholeNumber.h"

namespace {

// Digits only, at most `max`: the unsigned conversion would take "-5" as a huge number,
// and it saturates a number past 2^64 - 1 instead of refusing it.
CLI::Validator WholeNumberUpTo(uint64_t max) {
    return CLI::Validator(
        [max](std::string& text) {
            if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
                return "N must be a whole number, not \"" + text + "\"";
            uint64_t value = 0;
            if (!ReadWholeNumber(text, max, value))
                return "N must be at most " + std::to_string(max) + ", not " + text;
            // Read as decimal, as written: the parser takes a leading 0 for octal.
            const size_t first = text.find_first_not_of('0');
            text.erase(0, first == std::string::npos ? text.size() - 1 : first);
            return std::string();
        },
        "");
}

// The usage shows each option with its value's name only: CLI11 would also append
// "Excludes: ..." to the left column, where it runs into the description. The
// descriptions say which options do not go together.
class UsageFormatter : public CLI::Formatter {
public:
    UsageFormatter() { column_width(20); }
    std::string make_option_opts(const CLI::Option* opt) const override {
        if (opt->get_type_size() == 0 || opt->get_type_name().empty()) return {};
        return " " + opt->get_type_name();
    }
};

CommandLine Refuse(const CLI::App& app, const std::string& message) {
    CommandLine result;
    result.exit = true;
    result.status = kUsageStatus;
    result.err = "brinegate: " + message + "\n\n" + app.help();
    return result;
}

// The options that are looked at again once the command line is parsed.
struct Declared {
    std::string vsyncName;
    CLI::Option* vsync = nullptr;
    CLI::Option* seed = nullptr;
    CLI::Option* logDir = nullptr;
    CLI::Option* config = nullptr;
    CLI::Option* record = nullptr;
    CLI::Option* replay = nullptr;
    CLI::Option* frames = nullptr;
};

void Declare(CLI::App& app, Options& o, Declared& d) {
    app.formatter(std::make_shared<UsageFormatter>());
    app.set_version_flag("--version", std::string("Brinegate ") + kBrinegateVersion);
    app.add_flag("--fullscreen", o.fullscreen, "Fill the screen (F11 or Alt+Enter toggles)");
    app.add_flag("--no-sound", o.noSound, "Play without sound (as BRINEGATE_NO_SOUND=1)");
    d.vsync =
        app.add_option("--vsync", d.vsyncName,
                       "Sync the swap to the display: on, off, or auto (at 60 Hz only; the default)")
            ->type_name("MODE")
            ->check(CLI::Validator(
                [](std::string& text) {
                    Vsync mode;
                    return VsyncFromName(text, mode) ? std::string()
                                                     : "MODE must be on, off or auto, not \"" + text + "\"";
                },
                ""));
    d.seed =
        app.add_option("--seed", o.seed,
                       "Seed the random generator with N, not the time (not with --replay)")
            ->type_name("N")
            ->transform(WholeNumberUpTo(UINT32_MAX));
    d.logDir = app.add_option("--log-dir", o.logDir, "Write the trace log into DIR")->type_name("DIR");
    d.config =
        app.add_option("--config", o.configPath, "Read and keep the settings in FILE")->type_name("FILE");
    d.record =
        app.add_option("--record", o.recordPath,
                       "Record the input of this run into FILE (not with --replay)")
            ->type_name("FILE");
    d.replay =
        app.add_option("--replay", o.replayPath,
                       "Play back the input recorded in FILE (not with --seed, --record)")
            ->type_name("FILE");
    d.frames = app.add_option("--frames", o.frames, "End normally after N frames")
                                ->type_name("N")
                                ->transform(WholeNumberUpTo(UINT64_MAX));
    app.add_flag("--unpaced", o.unpaced, "Run frames back to back, without the 1/60 s wait");
    app.add_flag("--print-digest", o.printDigest, "Print a digest of the game state when the run ends");
    d.record->excludes(d.replay);
    // A replay takes its seed from the recording.
    d.seed->excludes(d.replay);
}

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    Options o;
    CLI::App app{"Brinegate: sail, aim and take the island's towers.", "brinegate"};
    Declared d;
    Declare(app, o, d);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        CommandLine result;
        result.exit = true;
        result.out = app.help();
        return result;
    } catch (const CLI::CallForVersion& e) {
        CommandLine result;
        result.exit = true;
        result.out = std::string(e.what()) + "\n";
        return result;
    } catch (const CLI::ParseError& e) {
        return Refuse(app, e.what());
    }
    if (d.frames->count() > 0 && o.frames == 0) return Refuse(app, "--frames: N must be at least 1");
    for (const CLI::Option* named : {d.record, d.replay, d.logDir, d.config})
        if (named->count() > 0 && named->as<std::string>().empty())
            return Refuse(app, named->get_name() + ": needs a name, not an empty one");
    o.hasSeed = d.seed->count() > 0;
    o.hasVsync = d.vsync->count() > 0 && VsyncFromName(d.vsyncName, o.vsync);
    CommandLine result;
    result.options = o;
    return result;
}
