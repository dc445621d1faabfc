// The built program, headless on the virtual clock, polling a site whose polls meet one fault after
// another (refused, hung, trickled, 100 MiB, redirected for ever, not HTTP, every alert marker),
// for TARNIX_SOAK_HOURS hours of virtual time (1 unless given; 1 to 48). Whatever the faults, it
// polls every 2 s, every pop-up ends and gives its slot back, the settings stay as they were and
// its memory stays flat. The figures are printed at the end (scripts/soak runs longer soaks).
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <csignal>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/program_folder.h"
#include "support/child_process.h"
#include "support/headless_test.h"

namespace {

namespace fs = std::filesystem;
using testsupport::milliseconds;
using testsupport::readFile;

constexpr long long kHour = 3'600'000;
constexpr long long kPollInterval = 2000;
constexpr long long kRssSampleInterval = kHour / 6;
// Each fault is followed by answers, so a poll after each fault is seen; 30 polls a round.
const std::vector<std::string> kFaults = {"alerts", "refuse",        "hang",   "trickle",
                                          "huge",   "redirect-loop", "garbage"};
constexpr int kAnswersAfterEach = 3;

int soakHours() {
    const char* text = std::getenv("TARNIX_SOAK_HOURS");
    const int hours = text == nullptr ? 1 : std::atoi(text);
    return hours >= 1 && hours <= 48 ? hours : 1;
}

std::string faultList() {
    std::string list;
    for (const std::string& fault : kFaults) {
        list += fault;
        for (int i = 0; i < kAnswersAfterEach; ++i) {
            list += ",answer";
        }
        list += ',';
    }
    return list + "answer,answer";
}

// What a poll's trace line says happened, in the fault names of the site.
std::string pollOutcome(const std::string& line) {
    const auto has = [&line](const char* text) { return line.find(text) != std::string::npos; };
    if (has(" status=200 ")) {
        return has("truncated=1") ? "huge" : has(" bytes=0") ? "answer" : "alerts";
    }
    // A connection the site had queued as it stopped listening is reset rather than refused.
    if (has("Couldn't connect") || has("Connection refused") || has("Connection reset")) {
        return "refuse";
    }
    if (has("timed out")) {
        return has(" 0 bytes received") ? "hang" : "trickle";
    }
    if (has("redirect")) {
        return "redirect-loop";
    }
    if (has("HTTP/0.9") || has("Unsupported protocol")) {
        return "garbage";
    }
    return "other: " + line;
}

// Waits (at most a second) until a connection to the port is taken.
void waitUntilListening(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const bool taken =
            ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        if (taken) {
            return;
        }
        ::usleep(1000);
    }
}

long residentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

std::map<std::string, std::string> folderBytes(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        files[entry.path().filename().string()] = readFile(entry.path());
    }
    return files;
}

// What the soak saw, line by line of the program's trace.
struct Soak {
    long long lastMs = 0;
    std::vector<long long> polls;
    std::map<std::string, int> outcomes;
    std::set<std::string> openPopups;  // hwnd=N of loaded pop-ups
    int popupsLoaded = 0;
    int popupsUnloaded = 0;
    int burstsWithPopupsOpen = 0;
    std::vector<std::string> burstPositions;  // the pop-ups' places, one text per alerts burst
    int settingsWritesAfterSignIn = 0;
    int popupLimitMessages = 0;
    std::vector<std::pair<long long, long>> rss;  // virtual ms, kB

    void take(long long ms, const std::string& text) {
        lastMs = ms;
        const auto field = [&text](const char* name) {
            const auto at = text.find(name);
            return at == std::string::npos ? std::string()
                                           : text.substr(at, text.find(' ', at) - at);
        };
        if (text.starts_with("http GET") && text.find("/update.php?") != std::string::npos) {
            polls.push_back(ms);
            const std::string outcome = pollOutcome(text);
            ++outcomes[outcome];
            if (outcome == "alerts") {
                burstsWithPopupsOpen += openPopups.empty() ? 0 : 1;
                burstPositions.emplace_back();
            }
        } else if (text.find("name=frmRequests") != std::string::npos) {
            if (text.starts_with("form loaded")) {
                ++popupsLoaded;
                openPopups.insert(field("hwnd="));
            } else if (text.starts_with("form unloaded")) {
                ++popupsUnloaded;
                openPopups.erase(field("hwnd="));
            } else if (text.starts_with("window shown") && !burstPositions.empty()) {
                burstPositions.back() += field("top=") + " ";
            }
        } else if (text.starts_with("registry set") && !polls.empty()) {
            ++settingsWritesAfterSignIn;
        } else if (text.find("Requests excided 15 PopUps!") != std::string::npos) {
            ++popupLimitMessages;
        }
    }
};

// Reads the trace FIFO line by line while the program runs, sampling its resident set as virtual
// time passes each mark.
void follow(int fifo, testsupport::ChildProcess& program, Soak& soak,
            std::chrono::steady_clock::time_point deadline,
            const std::function<void(long long ms)>& onLine) {
    std::string pending;
    for (;;) {
        pollfd fd{fifo, POLLIN, 0};
        if (::poll(&fd, 1, 200) <= 0) {
            if (program.exitCode(milliseconds(0)).has_value() ||
                std::chrono::steady_clock::now() > deadline) {
                return;
            }
            continue;
        }
        char buffer[65536];
        const ssize_t got = ::read(fifo, buffer, sizeof buffer);
        if (got <= 0) {
            continue;
        }
        pending.append(buffer, static_cast<size_t>(got));
        size_t start = 0;
        for (size_t end; (end = pending.find('\n', start)) != std::string::npos; start = end + 1) {
            const std::string line = pending.substr(start, end - start);
            const size_t space = line.find(' ');
            if (space == std::string::npos) {
                continue;
            }
            const long long ms = std::atoll(line.c_str());
            soak.take(ms, line.substr(space + 1));
            onLine(ms);
        }
        pending.erase(0, start);
    }
}

TEST(Soak, PollsOnThroughEveryFaultWithoutLeaksOrChangedSettings) {
    const int hours = soakHours();
    // The session ends half a minute after the last hour, so that sample is not of the ending.
    const long long end = hours * kHour + 31'600;
    testsupport::TempDir root;
    const fs::path program = root.path() / "program";
    const fs::path registry = root.path() / "registry";
    copyProgramFolder(program);

    // The virtual clock starts on 2 January 2026: tokens of each day the run reaches are taken.
    std::vector<std::string> siteArgs = {"--mode",     "faults", "--faults",       faultList(),
                                         "--lifetime", "86400",  "--date-pattern", "M/d/yyyy"};
    for (int day = 0; day <= hours / 24 + 1; ++day) {
        siteArgs.insert(siteArgs.end(), {"--date", "2026-01-0" + std::to_string(2 + day)});
    }
    testsupport::ChildProcess site(TARNIX_SITE_EXE, siteArgs);
    const std::string address = "http://127.0.0.1:" + std::to_string(site.port());
    testsupport::ChildProcess install(TARNIX_INSTALL_EXE,
                                      {"--site", address, "--company", "Soak Ltd", "--ini",
                                       (program / "PexarDeskTop.ini").string()},
                                      {"TARNIX_REGISTRY_DIR=" + registry.string()});
    ASSERT_EQ(install.exitCode(milliseconds(10'000)), 0) << install.errorText();

    const fs::path script = root.path() / "script";
    std::ofstream(script) << "1500 page-type frmTarnix wbTarnix membername ann\n"
                             "1600 page-click frmTarnix wbTarnix login\n"
                          << end << " end-session\n";
    const fs::path trace = root.path() / "trace";
    ASSERT_EQ(::mkfifo(trace.c_str(), 0600), 0);
    // Held open for writing too, so the reader never sees an end before the program has opened it.
    const int fifo = ::open(trace.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    const int keepOpen = ::open(trace.c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(fifo, 0);
    ASSERT_GE(keepOpen, 0);
    // The smallest pipe, so the program runs at most a page of trace ahead of this reader.
    ::fcntl(fifo, F_SETPIPE_SZ, 4096);

    const auto started = std::chrono::steady_clock::now();
    testsupport::ChildProcess tarnix(
        (program / "tarnix").string(), {},
        {"TARNIX_REGISTRY_DIR=" + registry.string(), "TARNIX_TRACE=" + trace.string(),
         "TARNIX_SCRIPT=" + script.string(), "TARNIX_CLOCK=virtual", "TARNIX_OFFLINE=0",
         "TARNIX_BACKEND=headless", "TARNIX_HTTP_TIMEOUT_MS=200", "LC_ALL=C",
         "TARNIX_AUTOSTART_DIR=" + (root.path() / "autostart").string(),
         "XDG_CONFIG_HOME=" + (root.path() / "config").string()});
    Soak soak;
    std::map<std::string, std::string> settingsAtSignIn;
    long long nextSample = kRssSampleInterval;
    int refusals = 0;
    follow(fifo, tarnix, soak, started + std::chrono::minutes(5 + 3 * hours), [&](long long ms) {
        // The site stays away until told that a poll found it so; the program waits meanwhile, so
        // that few polls more are refused.
        if (soak.outcomes["refuse"] != refusals) {
            refusals = soak.outcomes["refuse"];
            tarnix.signal(SIGSTOP);
            site.signal(SIGUSR1);
            waitUntilListening(site.port());
            tarnix.signal(SIGCONT);
        }
        if (settingsAtSignIn.empty() && !soak.polls.empty()) {
            settingsAtSignIn = folderBytes(registry);
            settingsAtSignIn["PexarDeskTop.ini"] = readFile(program / "PexarDeskTop.ini");
        }
        if (ms >= nextSample && ms <= hours * kHour + kPollInterval) {
            soak.rss.emplace_back(ms, residentKb(tarnix.pid()));
            nextSample += kRssSampleInterval;
        }
    });
    ::close(keepOpen);
    ::close(fifo);
    const auto realSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    ASSERT_EQ(tarnix.exitCode(milliseconds(10'000)), 0) << tarnix.errorText();
    ASSERT_EQ(soak.lastMs, end) << "the trace ended before the session did";

    // A poll every 2 s from the sign-in to the end, whatever the poll before it met.
    ASSERT_FALSE(soak.polls.empty());
    std::vector<long long> gaps;
    for (size_t i = 1; i < soak.polls.size(); ++i) {
        gaps.push_back(soak.polls[i] - soak.polls[i - 1]);
    }
    EXPECT_EQ(*std::min_element(gaps.begin(), gaps.end()), kPollInterval);
    EXPECT_EQ(*std::max_element(gaps.begin(), gaps.end()), kPollInterval);
    EXPECT_GE(soak.polls.back(), end - kPollInterval);

    // The program met what the site served: each fault as often, and a refusal at least once per
    // pause (more while this reader catches up); a fault the program took for another would show
    // here. The rounds went on all along: at least ten an hour.
    std::map<std::string, int> served;
    std::istringstream counts(testsupport::httpGet(site.port(), "/_faults").body);
    for (std::string name; counts >> name;) {
        counts >> served[name];
    }
    for (const std::string& fault : kFaults) {
        EXPECT_GE(served[fault], 10 * hours) << fault;
        if (fault == "refuse") {
            EXPECT_GE(soak.outcomes[fault], served[fault]);
        } else {
            EXPECT_EQ(soak.outcomes[fault], served[fault]) << fault;
        }
    }
    EXPECT_EQ(soak.outcomes["answer"], served["answer"]);
    for (const auto& [outcome, count] : soak.outcomes) {
        EXPECT_FALSE(outcome.starts_with("other")) << outcome;
    }

    // Every pop-up ended before the next alerts came, and the next ones took the same places.
    EXPECT_GT(soak.popupsLoaded, 0);
    EXPECT_EQ(soak.burstsWithPopupsOpen, 0);
    EXPECT_EQ(soak.popupLimitMessages, 0);
    EXPECT_LE(soak.popupsLoaded - soak.popupsUnloaded,
              3);  // the last ones may still show at the end
    ASSERT_FALSE(soak.burstPositions.empty());
    const auto elsewhere =
        std::find_if(soak.burstPositions.begin(), soak.burstPositions.end(),
                     [&](const std::string& places) { return places != soak.burstPositions[0]; });
    EXPECT_TRUE(elsewhere == soak.burstPositions.end())
        << "first pop-ups at " << soak.burstPositions[0] << ", later ones at " << *elsewhere;

    // The settings are as they were when the polls began.
    EXPECT_EQ(soak.settingsWritesAfterSignIn, 0);
    std::map<std::string, std::string> settingsAtEnd = folderBytes(registry);
    settingsAtEnd["PexarDeskTop.ini"] = readFile(program / "PexarDeskTop.ini");
    EXPECT_EQ(settingsAtEnd, settingsAtSignIn);

    // Memory flat: the last sample within 10 % (and 2 MiB) of the first. AddressSanitizer holds
    // freed memory back in quarantine, so there the figures are only reported.
    ASSERT_FALSE(soak.rss.empty());
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_LE(soak.rss.back().second, soak.rss.front().second * 11 / 10 + 2048);
#endif

    std::printf("soak: %d h virtual in %.1f s real; %zu polls, every %lld-%lld ms\n", hours,
                realSeconds, soak.polls.size(), *std::min_element(gaps.begin(), gaps.end()),
                *std::max_element(gaps.begin(), gaps.end()));
    std::printf("soak: poll outcomes:");
    for (const auto& [outcome, count] : soak.outcomes) {
        std::printf(" %s=%d", outcome.c_str(), count);
    }
    std::printf("\nsoak: pop-ups %d loaded, %d unloaded\nsoak: resident set (virtual hours: kB):",
                soak.popupsLoaded, soak.popupsUnloaded);
    // The first sample and one an hour.
    for (size_t i = 0; i < soak.rss.size(); ++i) {
        if (i == 0 || (i + 1) % (kHour / kRssSampleInterval) == 0) {
            std::printf(" %.2fh:%ld", static_cast<double>(soak.rss[i].first) / kHour,
                        soak.rss[i].second);
        }
    }
    std::printf("\n");
}

}  // namespace
