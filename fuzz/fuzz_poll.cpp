// The main window's poll tick on any answers of the site, tick after tick: the alerts each tick
// raises (their sounds opened and their pop-ups shown, in order), the NewMail and GenAlert repeat
// counters and the last contact online are what a model of the alert rules says, and no tick
// throws or opens a message box.
//
// Input: four bytes for the alert switches (ChatRequest, NewMail, ContactOnline, GenAlert: 1 or
// '1' is a stored 1, 0 or '0' a stored 0, any other byte some other stored value), two bytes for
// the NewMail and GenAlert counters at the start, then the last contact online at the start and
// up to kMaxTicks answers, each ended by a backslash and another character ("\\" is a backslash).
#include <fuzzer/FuzzedDataProvider.h>

#include <stdlib.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "main/frmTarnix.h"
#include "main/program_values.h"
#include "main/shared_objects.h"
#include "platform/files/paths.h"
#include "platform/headless/headless_backend.h"
#include "platform/net/http.h"
#include "platform/runtime/ansi.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/text.h"
#include "platform/runtime/trace.h"
#include "scratch_folder.h"
#include "support/loopback_server.h"

// The poll's tick and its state, reached as the tests reach them.
struct frmTarnixTestAccess {
    static void tick(frmTarnix& form) { form.tmrRequestCheck_Timer(); }
    static int16_t& newMailRepeat(frmTarnix& form) { return form.iNewMailRepeat; }
    static int16_t& genAlertRepeat(frmTarnix& form) { return form.iGenAlertRepeat; }
    static std::string& lastContactOnline(frmTarnix& form) { return form.sLastContactOnline; }
};

namespace {

using Access = frmTarnixTestAccess;

constexpr size_t kMaxTicks = 5;
constexpr const char* kSettingsKey = "Software\\Pexar\\X6";

enum Kind : size_t { kChatRequest, kNewMail, kContactOnline, kGenAlert };
constexpr std::array<Kind, 4> kKinds{kChatRequest, kNewMail, kContactOnline, kGenAlert};
constexpr std::array<const char*, 4> kKindNames{"ChatRequest", "NewMail", "ContactOnline",
                                                "GenAlert"};
// The pop-up page each kind opens.
constexpr std::array<const char*, 4> kPages{"chatrequest.php", "newmail.php", "contactonline.php",
                                            "newmail.php"};

// The alert rules over the answer's bytes (a Windows-1252 answer reads as the same characters, so
// markers and names compare alike in bytes). Kinds are looked at in order; a kind can end the
// tick, and the kinds after it are then not looked at.
class AlertModel {
  public:
    enum class Outcome { Silent, Alert, EndOfTick };

    std::array<bool, 4> on{};
    // Ticks in a row that NewMail and GenAlert have seen their marker since their alert.
    std::array<int, 4> seen{};
    std::string lastContact;

    std::vector<Kind> tick(std::string_view answer) {
        std::vector<Kind> alerts;
        for (const Kind kind : kKinds) {
            if (!on[kind]) {
                continue;
            }
            const Outcome outcome = kind == kContactOnline ? contactOnline(answer)
                                    : kind == kChatRequest
                                        ? (has(answer, kind) ? Outcome::Alert : Outcome::Silent)
                                        : counted(kind, has(answer, kind));
            if (outcome == Outcome::Alert) {
                alerts.push_back(kind);
            } else if (outcome == Outcome::EndOfTick) {
                break;
            }
        }
        return alerts;
    }

  private:
    static constexpr int kRepeats = 150;

    static bool has(std::string_view answer, Kind kind) {
        static constexpr std::array<std::string_view, 4> markers{"vb_chatrequest", "vb_newmail",
                                                                 "vb_contactonline", "vb_genalert"};
        return answer.find(markers[kind]) != std::string_view::npos;
    }

    // Alerts at the first sight, counts the sights after it, and after 150 repeats starts over
    // with a tick that ends there; a tick without the marker starts over too.
    Outcome counted(Kind kind, bool marker) {
        int& count = seen[kind];
        if (!marker) {
            count = 0;
            return Outcome::Silent;
        }
        if (count > kRepeats) {
            count = 0;
            return Outcome::EndOfTick;
        }
        count = count == 0 ? 1 : count + 1;
        return count == 1 ? Outcome::Alert : Outcome::Silent;
    }

    // The name runs from the first "=" after the marker to the first ";" after that. A name seen
    // last time ends the tick; a marker without both ends it too (a run-time error, kept quiet).
    Outcome contactOnline(std::string_view answer) {
        const size_t marker = answer.find("vb_contactonline");
        if (marker == std::string_view::npos) {
            lastContact.clear();
            return Outcome::Silent;
        }
        const size_t equals = answer.find('=', marker);
        const size_t semicolon =
            equals == std::string_view::npos ? equals : answer.find(';', equals + 1);
        if (semicolon == std::string_view::npos) {
            return Outcome::EndOfTick;
        }
        const std::string_view name = answer.substr(equals + 1, semicolon - equals - 1);
        if (name == lastContact) {
            return Outcome::EndOfTick;
        }
        lastContact = name;
        return Outcome::Alert;
    }
};

// Keeps the trace lines a tick is judged by: sounds opened, pop-up pages asked for, message boxes.
class TickSink final : public platform::TraceSink {
  public:
    void write(std::string_view line) override {
        const std::string_view rest = line.substr(line.find(' ') + 1);
        if (rest.starts_with("mci cmd=\"OPEN ")) {
            sounds.emplace_back(rest);
        } else if (rest.starts_with("browser ") &&
                   rest.find(" name=wbPopUp navigate ") != std::string_view::npos) {
            pages.emplace_back(rest);
        } else if (rest.starts_with("msgbox ")) {
            boxes.emplace_back(rest);
        }
    }
    void clear() {
        sounds.clear();
        pages.clear();
        boxes.clear();
    }
    std::vector<std::string> sounds;
    std::vector<std::string> pages;
    std::vector<std::string> boxes;
};

struct World {
    testsupport::LoopbackServer site;
    TickSink* sink = nullptr;
    frmTarnix* form = nullptr;
    // What each switch was last stored as (-1: not yet), so that an unchanged one is not written.
    std::array<int, 4> stored{-1, -1, -1, -1};
};
World* world = nullptr;

// The sound file each kind's alert opens; it need not exist.
std::string soundOf(Kind kind) {
    return (fuzzsupport::scratchFolder() / (std::string(kKindNames[kind]) + ".wav")).string();
}

// Stores the switch a byte stands for; true when it is on.
bool storeSwitch(Kind kind, unsigned char byte) {
    const std::string alerts = std::string(kSettingsKey) + "\\Alerts";
    const char* name = kKindNames[kind];
    const int code = byte == '1' ? 1 : byte == '0' ? 0 : byte;
    if (world->stored[kind] != code) {
        world->stored[kind] = code;
        clsRegistry& registry = oRegistry();
        if (code <= 1) {
            registry.SaveSettingLong(1, alerts, name, code);
        } else if (code % 4 == 0) {
            registry.DeleteValue(1, alerts, name);
        } else if (code % 4 == 1) {
            registry.SaveSettingString(1, alerts, name, "1");
        } else if (code % 4 == 2) {
            registry.SaveSettingLong(1, alerts, name, static_cast<int8_t>(code));
        } else {
            registry.SaveSettingByte(1, alerts, name, {1, 0, 0, 0});
        }
    }
    return code == 1;
}

// The pop-ups a tick opened go, with their slots and their page loads (never sent: the pop-up
// address is not a web address).
size_t closePopups(frmTarnix& form) {
    size_t open = 0;
    for (const auto& window : win::Forms()) {
        if (window->Name() == "frmRequests") {
            ++open;
            win::Unload(*window);
        }
    }
    form.aPopups.fill(nullptr);
    form.abSlotUsed.fill(0);
    for (const auto& done : platform::net::progressTransfers(0)) {
        done();
    }
    return open;
}

std::string kindsText(const std::vector<Kind>& kinds) {
    std::string text;
    for (const Kind kind : kinds) {
        text += std::string(kKindNames[kind]) + " ";
    }
    return text;
}

[[noreturn]] void fail(const char* what, const std::string& answer, const std::vector<Kind>& want,
                       const std::string& detail) {
    std::fprintf(stderr, "poll tick: %s\nanswer: %s\nmodel alerts: %s\n%s\n", what,
                 platform::quoted(platform::fromAnsi(answer)).c_str(), kindsText(want).c_str(),
                 detail.c_str());
    std::abort();
}

std::string lines(const std::vector<std::string>& all) {
    std::string text;
    for (const auto& line : all) {
        text += "  " + line + "\n";
    }
    return text;
}

// Each line names the kinds in order, by what marks each of them in the line.
bool linesName(const std::vector<std::string>& all, const std::vector<Kind>& kinds,
               const std::array<std::string, 4>& marks) {
    if (all.size() != kinds.size()) {
        return false;
    }
    for (size_t i = 0; i < kinds.size(); ++i) {
        if (all[i].find(marks[kinds[i]]) == std::string::npos) {
            return false;
        }
    }
    return true;
}

void checkTick(frmTarnix& form, const AlertModel& model, const std::vector<Kind>& want,
               const std::string& answer) {
    const TickSink& sink = *world->sink;
    std::array<std::string, 4> soundMarks;
    std::array<std::string, 4> pageMarks;
    for (const Kind kind : kKinds) {
        soundMarks[kind] = "/" + std::string(kKindNames[kind]) + ".wav\\\"";
        pageMarks[kind] = "url=\"x:" + std::string(kPages[kind]) + "?";
    }
    if (!linesName(sink.sounds, want, soundMarks)) {
        fail("the sounds opened are not the alerts'", answer, want, lines(sink.sounds));
    }
    if (!linesName(sink.pages, want, pageMarks)) {
        fail("the pop-up pages are not the alerts'", answer, want, lines(sink.pages));
    }
    if (!sink.boxes.empty()) {
        fail("a message box was opened", answer, want, lines(sink.boxes));
    }
    if (Access::newMailRepeat(form) != model.seen[kNewMail] ||
        Access::genAlertRepeat(form) != model.seen[kGenAlert]) {
        fail("repeat counters differ", answer, want,
             "NewMail " + std::to_string(Access::newMailRepeat(form)) + " model " +
                 std::to_string(model.seen[kNewMail]) + ", GenAlert " +
                 std::to_string(Access::genAlertRepeat(form)) + " model " +
                 std::to_string(model.seen[kGenAlert]));
    }
    if (Access::lastContactOnline(form) != platform::fromAnsi(model.lastContact)) {
        fail("last contact online differs", answer, want,
             "window " + platform::quoted(Access::lastContactOnline(form)) + " model " +
                 platform::quoted(platform::fromAnsi(model.lastContact)));
    }
    const size_t popups = closePopups(form);
    if (popups != want.size()) {
        fail("pop-ups shown differ from the alerts", answer, want,
             std::to_string(popups) + " pop-ups");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::filesystem::path folder = fuzzsupport::scratchFolder();
    std::filesystem::create_directories(folder / "program");
    ::setenv("TARNIX_REGISTRY_DIR", (folder / "registry").c_str(), 1);
    ::setenv("TARNIX_AUTOSTART_DIR", (folder / "autostart").c_str(), 1);
    platform::setProgramFolder((folder / "program").string());
    std::ofstream(folder / "program" / "PexarDeskTop.ini")
        << "[StartDetails]\r\nREGADDRESS=" << kSettingsKey << "\r\n[Language]\r\nLang=1\r\n";
    platform::installClock(std::make_unique<platform::VirtualClock>());
    platform::installBackend(std::make_unique<platform::HeadlessBackend>());
    auto sink = std::make_unique<TickSink>();
    TickSink* kept = sink.get();
    platform::installTraceSink(std::move(sink));

    world = new World;
    world->sink = kept;
    world->site.setPage("poll", "");
    for (const Kind kind : kKinds) {
        oRegistry().SaveSettingString(1, std::string(kSettingsKey) + "\\Sounds", kKindNames[kind],
                                      soundOf(kind));
    }
    world->form = &win::Default<frmTarnix>();
    world->form->Load();
    sUpdateURL = world->site.url("/page/poll");
    sNewRequestURL = "x:";
    sMemberName = "member0042";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string head = input.ConsumeBytesAsString(6);
    if (head.size() < 6) {
        return 0;
    }
    frmTarnix& form = *world->form;
    AlertModel model;
    for (const Kind kind : kKinds) {
        model.on[kind] = storeSwitch(kind, static_cast<unsigned char>(head[kind]));
    }
    model.seen[kNewMail] = static_cast<unsigned char>(head[4]);
    model.seen[kGenAlert] = static_cast<unsigned char>(head[5]);
    model.lastContact = input.ConsumeRandomLengthString(64);
    Access::newMailRepeat(form) = static_cast<int16_t>(model.seen[kNewMail]);
    Access::genAlertRepeat(form) = static_cast<int16_t>(model.seen[kGenAlert]);
    Access::lastContactOnline(form) = platform::fromAnsi(model.lastContact);

    for (size_t tick = 0; tick < kMaxTicks && input.remaining_bytes() > 0; ++tick) {
        const std::string answer = input.ConsumeRandomLengthString(1024);
        world->site.setPage("poll", answer);
        world->sink->clear();
        const std::vector<Kind> want = model.tick(answer);
        try {
            Access::tick(form);
        } catch (...) {
            fail("the tick threw", answer, want, "");
        }
        checkTick(form, model, want, answer);
    }
    return 0;
}
