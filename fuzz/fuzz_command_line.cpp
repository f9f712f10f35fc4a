// Command lines from arbitrary bytes, split on NUL into arguments after "brinegate".
// Besides not crashing, a number that is accepted must be the number that was given.
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "app/Options.h"

namespace {

// The whole number written in text, false when it is not digits or passes max.
bool Decimal(const std::string& text, uint64_t max, uint64_t& value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    value = 0;
    for (char c : text) {
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        if (value > (max - digit) / 10) return false;
        value = value * 10 + digit;
    }
    return true;
}

// When `name` is given once, plainly ("--name N" or "--name=N", not as another
// option's value), and the command line was accepted, N must have been in range and
// read as it stands.
void CheckNumber(const std::vector<std::string>& args, const std::string& name, uint64_t max, uint64_t got) {
    int mentions = 0;
    for (const std::string& a : args)
        if (a.find(name.substr(2)) != std::string::npos) ++mentions;
    if (mentions != 1) return;
    for (size_t i = 1; i < args.size(); ++i) {
        std::string text;
        if (args[i] == name && i + 1 < args.size()) text = args[i + 1];
        else if (args[i].rfind(name + "=", 0) == 0) text = args[i].substr(name.size() + 1);
        else continue;
        const std::string& before = args[i - 1];
        if (before == "--seed" || before == "--frames" || before == "--log-dir" || before == "--config" || before == "--record" ||
            before == "--replay")
            return;
        if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return;
        uint64_t want = 0;
        if (!Decimal(text, max, want))
            fuzz::Fail("%s %s accepted, beyond %llu, as %llu", name.c_str(), text.c_str(),
                       static_cast<unsigned long long>(max), static_cast<unsigned long long>(got));
        if (want != got)
            fuzz::Fail("%s %s read as %llu", name.c_str(), text.c_str(), static_cast<unsigned long long>(got));
        return;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> args{"brinegate"};
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (size_t start = 0; start <= bytes.size();) {
        const size_t end = bytes.find('\0', start);
        args.push_back(bytes.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    if (size == 0) args.pop_back();  // no bytes: no arguments at all
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    argv.push_back(nullptr);
    const CommandLine line = ParseCommandLine(static_cast<int>(args.size()), argv.data());

    if (line.exit) {
        if (line.status != 0 && line.status != kUsageStatus) fuzz::Fail("ended with status %d", line.status);
        if (line.status == kUsageStatus && line.err.rfind("brinegate: ", 0) != 0)
            fuzz::Fail("refused without saying so on stderr");
        return 0;
    }
    const Options& o = line.options;
    if (!o.recordPath.empty() && !o.replayPath.empty()) fuzz::Fail("--record and --replay both accepted");
    if (o.hasSeed && !o.replayPath.empty()) fuzz::Fail("--seed and --replay both accepted");
    CheckNumber(args, "--frames", UINT64_MAX, o.frames);
    if (o.hasSeed) CheckNumber(args, "--seed", UINT32_MAX, o.seed);
    return 0;
}
