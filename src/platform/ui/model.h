#pragma once

// The window model's program-wide state: loaded windows, handles, default instances, timers and
// input actions. Internal to the ui library.

#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include "platform/runtime/backend.h"
#include "platform/runtime/clock.h"

#include "platform/ui/image_api.h"
#include "platform/ui/tray.h"

namespace win {
class Form;
class Timer;
}  // namespace win

namespace win::detail {

struct Model {
    Model();
    ~Model();

    // Declared first so that it outlives the forms below (their timers unregister here).
    std::map<uint64_t, Timer*> timers;
    uint64_t nextTimerSerial = 1;
    int32_t nextHandle = 1;
    std::map<int32_t, Form*> byHandle;
    // Input taken from the backend, delivered in order whenever no modal box or dialog is open.
    std::deque<platform::InputEvent> held;
    // Answers to open requests (message boxes, dialogs) by request id, until their owner takes
    // them.
    std::map<int32_t, platform::InputEvent> answers;
    int32_t nextRequestId = 1;
    std::vector<TrayIcon> trayIcons;
    // Loaded icons by handle: the file's bytes and the chosen image's size.
    std::map<int32_t, IconImage> icons;
    int32_t nextIconHandle = 1;
    int modalDepth = 0;
    // Handlers the loop is running now (a handler that yields adds the ones it lets run).
    int handlerDepth = 0;
    // The first error a handler left untrapped in a nested pass; the top-level loop raises it.
    std::exception_ptr untrapped;
    std::map<std::type_index, std::shared_ptr<Form>> defaults;
    std::vector<std::shared_ptr<Form>> loaded;

    void clear();
};

Model& model();

int64_t nowMs();

// Applies one input event to the model (answers to requests are kept in Model::answers).
void dispatchInput(const platform::InputEvent& event);

// Opens a modal request with open(id) and runs the loop (timers, and input that answers
// requests; other input is held) until its answer arrives. Returns the answer.
platform::InputEvent runModal(const std::function<void(int32_t id)>& open);

// A new control id: unique in the process.
int32_t nextControlId();

// One pass of the loop: input (unless withInput is false or a modal box is open), then due timers.
// Returns how many events and timers ran. A nested pass (one run by a procedure that yields, or
// by any handler) keeps a handler's untrapped error in Model::untrapped instead of raising it;
// a pass at the top level raises it, and raises one kept earlier as soon as its handler returns.
int runPass(bool withInput, bool nested);

// Raises the error kept by a nested pass, if any, and forgets it.
void raiseUntrapped();

}  // namespace win::detail
