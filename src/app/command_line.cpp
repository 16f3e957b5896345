#include "app/command_line.h"

#include "schedule/picker_moment.h"

namespace somnar {
namespace {

constexpr int kLongestTestWake = 24 * 60 * 60;

CommandLine refused(std::string error) {
    CommandLine line;
    line.error = std::move(error);
    return line;
}

CommandLine parseTestWake(const std::vector<std::string>& rest) {
    CommandLine line;
    line.mode = RunMode::TestWake;
    std::size_t next = 0;
    if (next < rest.size() && (rest[next] == "standby" || rest[next] == "hibernate")) {
        line.testState = rest[next] == "hibernate" ? SleepState::Hibernate : SleepState::Standby;
        ++next;
    }
    if (next < rest.size()) {
        const auto seconds = wholeNumber(rest[next]);
        if (!seconds || *seconds < kShortestTestWake || *seconds > kLongestTestWake) {
            return refused(
                "--test-wake braucht standby oder hibernate und eine ganze Zahl von "
                "Sekunden von " +
                std::to_string(kShortestTestWake) + " bis " + std::to_string(kLongestTestWake) +
                ", nicht „" + rest[next] + "“.");
        }
        line.testSeconds = *seconds;
        ++next;
    }
    if (next < rest.size()) {
        return refused("zu viele Angaben nach --test-wake: „" + rest[next] + "“.");
    }
    return line;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return {};
    }
    const std::string& first = arguments.front();
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    CommandLine line;
    if (first == "--help" || first == "-h") {
        line.mode = RunMode::Help;
    } else if (first == "--version") {
        line.mode = RunMode::Version;
    } else if (first == "--test-wake") {
        return parseTestWake(rest);
    } else if (first == "--check" || first == "--check-ftp") {
        line.mode = RunMode::Check;
        line.checkFtp = first == "--check-ftp";
        for (const std::string& argument : rest) {
            if (argument != "--check" && argument != "--check-ftp") {
                return refused("unbekannte Angabe nach --check: „" + argument + "“.");
            }
            line.checkFtp = line.checkFtp || argument == "--check-ftp";
        }
        return line;
    } else {
        return refused("unbekannte Option „" + first + "“.");
    }
    if (!rest.empty()) {
        return refused("unbekannte Angabe nach " + first + ": „" + rest.front() + "“.");
    }
    return line;
}

std::string helpText() {
    return "Aufruf: somnar-scheduler [OPTION]\n"
           "Versetzt den Rechner in den Ruhezustand oder Standby und weckt ihn wieder.\n"
           "Ohne Option öffnet sich das Programmfenster.\n"
           "\n"
           "  --check              prüft ohne Fenster, ob dieser Rechner sich selbst wecken\n"
           "                       kann, und nennt für alles Fehlende die Abhilfe\n"
           "  --check --check-ftp  prüft dazu den gespeicherten FTP-Server (ohne Upload)\n"
           "  --test-wake [standby|hibernate] [SEKUNDEN]\n"
           "                       stellt eine Weckzeit SEKUNDEN voraus (mindestens 20, sonst\n"
           "                       60), schläft ein und meldet nach dem Aufwachen, wie pünktlich\n"
           "                       es war\n"
           "  --help               zeigt diese Hilfe\n"
           "  --version            zeigt die Version\n"
           "\n"
           "Rückgabewert: 0 wenn alles klappt, 1 wenn etwas fehlt oder das Wecken zu spät\n"
           "kam, 2 bei falschen Optionen.\n";
}

std::optional<int> answerDirectly(const CommandLine& line, std::string_view version,
                                  std::ostream& out, std::ostream& err) {
    constexpr std::string_view kName = "somnar-scheduler";
    if (!line.error.empty()) {
        err << kName << ": " << line.error << "\nHilfe: " << kName << " --help\n";
        return 2;
    }
    switch (line.mode) {
        case RunMode::Help:
            out << helpText();
            return 0;
        case RunMode::Version:
            out << kName << ' ' << version << '\n';
            return 0;
        case RunMode::Check:
        case RunMode::TestWake:
        case RunMode::Window:
            break;
    }
    return std::nullopt;
}

}  // namespace somnar
