// Measures the conversion engine: the same run the window drives, without the window.
//
//   tarnwick-bench capture FILE MEGABYTES     writes a realistic console capture
//   tarnwick-bench convert [--scroll] [--controls] [--mask] SOURCE OUTPUT
//                                             converts, prints seconds and peak memory (KiB)
//   tarnwick-bench hostile FOLDER             writes the hostile lines (see writeHostileLines)
//   tarnwick-bench line FILE MEGABYTES        writes a capture of one line that every cleaner
//                                             takes in every mode (see writeOneLine)
//   tarnwick-bench lines                      scroll rebuild of a 1 MB line of plain text
//                                             against one of characters, BackSpaces, blanks, "$";
//                                             and both cleaners with terminal controls read on a
//                                             1 MB line of characters, BackSpaces, CRs and sequences

#include "conversion/ConversionRun.h"
#include "conversion/LineCleaner.h"
#include "batch/Messages.h"
#include "conversion/ScrolledLineRebuilder.h"

#include <QCoreApplication>
#include <QDir>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>

using namespace tarnwick;

namespace {

class Host : public RunHost {
public:
    explicit Host(bool scroll) : scroll_(scroll) {}
    void showProgress(const QString &) override {}
    void processEvents() override {}
    bool scrollOn() const override { return scroll_; }

private:
    bool scroll_;
};

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A firewall and router session as a console server records it: typed commands with erased
// typos, long paged output with both pager erase forms, and command lines scrolled sideways.
int writeCapture(const char *path, long megabytes)
{
    std::ofstream out(path, std::ios::binary);
    std::mt19937 random(42);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const std::string more = "<--- More --->";
    const std::string eraser(14, ' ');
    const long target = megabytes * 1024 * 1024;
    long written = 0;
    long interface = 0;
    while (written < target) {
        std::string chunk = "fw1# shpw\b \b\b \bow running-config\r\r\n";
        for (int line = 1; line <= 400; ++line) {
            // Appended piece by piece: GCC 12 at -O3 warns of an overlap (-Wrestrict) that a
            // chain of temporary strings cannot have.
            if (line % 24 == 0) {
                const std::string back = line % 48 == 0 ? std::string(14, '\b') : std::string("\r");
                chunk.append(more).append(back).append(eraser).append(back);
            }
            switch (pick(6)) {
            case 0:
                chunk += "interface GigabitEthernet0/" + std::to_string(interface++ % 48) + "\r\n";
                break;
            case 1:
                chunk += " description uplink to core-" + std::to_string(pick(90)) + " (circuit " + std::to_string(random()) + ")\r\n";
                break;
            case 2:
                chunk += " ip address 10." + std::to_string(pick(256)) + "." + std::to_string(pick(256)) + ".1 255.255.255.0\r\n";
                break;
            case 3:
                chunk += "access-list outside_in extended permit tcp any host 192.0.2." + std::to_string(pick(256)) + " eq " + std::to_string(pick(65536)) + "\r\n";
                break;
            case 4:
                chunk += " no shutdown\r\n!\r\n";
                break;
            default:
                chunk += "fw1# show interface Gi0/" + std::to_string(pick(48)) + " | i rate\r\n  5 minute input rate " + std::to_string(random() % 100000) + " bits/sec\r\n";
            }
        }
        // A long command typed at an 80-column terminal, scrolled sideways three times.
        const std::string prompt = "R1(config)#";
        const std::string command = "ip route vrf CUSTOMER-" + std::to_string(pick(1000)) + " 203.0.113.0 255.255.255.0 GigabitEthernet0/0/1 192.0.2.254 name to-customer";
        const int margin = 68;
        std::string echo = prompt;
        int used = 0;
        int shifts = 0;
        for (std::size_t i = 1; i <= command.size(); ++i) {
            if (used < margin) {
                echo += command[i - 1];
                ++used;
                continue;
            }
            const std::size_t first = 12 + 10 * static_cast<std::size_t>(shifts);
            echo += shifts == 0 ? std::string(static_cast<std::size_t>(margin), '\b') + "$" : std::string(static_cast<std::size_t>(margin - 1), '\b');
            echo += command.substr(first - 1, i - first + 1) + std::string(9, ' ') + std::string(9, '\b');
            ++shifts;
            used = margin - 9;
        }
        chunk += echo + "\r\n";
        out << chunk;
        written += static_cast<long>(chunk.size());
    }
    return out ? 0 : 1;
}

std::string repeated(const std::string &text, std::size_t times)
{
    std::string result;
    result.reserve(text.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        result += text;
    return result;
}

// Lines whose control sequences would make the line grow without bound or cost quadratic time,
// and a 100 MB line of ordinary sequences, each into a file of its own in the folder.
int writeHostileLines(const std::string &folder)
{
    const std::string text(2 << 20, 'x');
    const std::vector<std::pair<std::string, std::string>> lines{
        {"far-moves-left", "R1#" + repeated("\x1b[999999D", 4000)},
        {"insertions", "R1#show\x1b[G" + repeated("\x1b[9999@", 100000)},
        {"deletions-in-2MB", text + "\x1b[G" + repeated("\x1b[P", 300000)},
        {"erasures-in-2MB", text + repeated("\x1b[1Ky\x1b[2K", 200000)},
        {"controls-100MB", repeated("show ip\b\bint\x1b[1;32m up \x1b[0m\x1b[2D", 3000000)},
    };
    for (const auto &[name, line] : lines) {
        std::ofstream out(folder + "/" + name + ".log", std::ios::binary);
        out << line << '\n';
        if (!out)
            return 1;
    }
    return 0;
}

// An erase to the end of the line and a prompt with a "$" after it, then typed text with a few
// BackSpaces and no line end: the BackSpace eraser, the scroll rebuild and, with controls read,
// the terminal line each hold it whole, and with both the scroll rebuild's run of characters
// and BackSpaces between two controls is the whole line too.
int writeOneLine(const char *path, long megabytes)
{
    std::ofstream out(path, std::ios::binary);
    const std::string piece = repeated("abc", 1 << 18) + "xy\b\b";
    const std::string start = "\x1b[K R1#$";
    out << start;
    for (long left = megabytes * 1000 * 1000 - static_cast<long>(start.size()); left > 0; left -= static_cast<long>(piece.size()))
        out.write(piece.data(), std::min<long>(static_cast<long>(piece.size()), left));
    return out ? 0 : 1;
}

int convert(bool scroll, bool controls, bool mask, const char *source, const char *output)
{
    Host host(scroll);
    const QString temporary = QDir::temp().filePath(QStringLiteral("tarnwick-bench-%1.tmp").arg(QCoreApplication::applicationPid()));
    const auto start = std::chrono::steady_clock::now();
    const RunOutcome outcome = ConversionRun({QString::fromLocal8Bit(source), QString::fromLocal8Bit(output), temporary},
                                             systemCharacterRule(), host, {.controlsOn = controls, .masking = mask}).run();
    const double seconds = secondsSince(start);
    if (outcome.status != RunOutcome::Status::Completed) {
        std::cerr << failureSentence(outcome, Language::English).toStdString() << '\n';
        return 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%.3f %ld\n", seconds, usage.ru_maxrss);
    return 0;
}

// Where results go, so that the work measured is not optimised away.
volatile std::size_t sink;

double rebuildSeconds(const std::string &line, int times)
{
    ScrolledLineRebuilder rebuilder(CharacterRule::Utf8);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < times; ++i)
        sink = rebuilder.rebuild(line).size();
    return secondsSince(start) / times;
}

int compareLines()
{
    const std::size_t size = 1 << 20;
    std::mt19937 random(7);
    std::string plain(size, ' ');
    std::string noisy(size, ' ');
    const std::string alphabet = "abcdefghijklmnopqrstuvwxyz#>";
    const std::string noise = "ab #>$\b\b\b";
    for (std::size_t i = 0; i < size; ++i) {
        plain[i] = alphabet[random() % alphabet.size()];
        noisy[i] = noise[random() % noise.size()];
    }
    // Make the plain line take the replay path too, with one BackSpace at its end.
    plain.back() = '\b';
    const double plainSeconds = rebuildSeconds(plain, 20);
    const double noisySeconds = rebuildSeconds(noisy, 20);

    // The same size of random text, BackSpaces, carriage returns (as the normalising pass keeps
    // them) and sequences, through both cleaners with terminal controls read.
    const std::vector<std::string> pieces{"a", "b", "#", "$", " ", "\b", "\x1b[G", "\x1b[3D", "\x1b[2C", "\x1b[K", "\x1b[1;32m",
                                          "\x1b[5G", "\x1b[2P", "\x1b[3@", "\x1b[4X", "\x1b]0;t\x07", "\xE3\x81\x82"};
    std::string controlled;
    while (controlled.size() < size)
        controlled += pieces[random() % pieces.size()];
    LineCleaning cleaning(CharacterRule::Utf8, true);
    double controlledSeconds[2] = {};
    for (const bool scroll : {false, true}) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 20; ++i)
            sink = cleaning.clean(controlled, scroll).value_or(std::string_view()).size();
        controlledSeconds[scroll] = secondsSince(start) / 20;
    }
    std::printf("%.4f %.4f %.4f %.4f\n", plainSeconds, noisySeconds, controlledSeconds[0], controlledSeconds[1]);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "capture" && argc == 4)
        return writeCapture(argv[2], std::stol(argv[3]));
    if (command == "convert" && argc >= 4) {
        bool scroll = false;
        bool controls = false;
        bool mask = false;
        for (int i = 2; i < argc - 2; ++i) {
            scroll = scroll || std::string(argv[i]) == "--scroll";
            controls = controls || std::string(argv[i]) == "--controls";
            mask = mask || std::string(argv[i]) == "--mask";
        }
        return convert(scroll, controls, mask, argv[argc - 2], argv[argc - 1]);
    }
    if (command == "lines")
        return compareLines();
    if (command == "hostile" && argc == 3)
        return writeHostileLines(argv[2]);
    if (command == "line" && argc == 4)
        return writeOneLine(argv[2], std::stol(argv[3]));
    std::cerr << "usage: tarnwick-bench capture FILE MEGABYTES | convert [--scroll] [--controls] [--mask] SOURCE OUTPUT | hostile FOLDER | lines"
                 " | line FILE MEGABYTES\n";
    return 2;
}
