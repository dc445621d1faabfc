#include "platform/ui/model.h"

#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace win::detail {

Model::Model() = default;

Model::~Model() {
    clear();
}

void Model::clear() {
    // Forms may hold other forms (pop-up references): drop in two steps so none dies twice.
    auto loadedNow = std::move(loaded);
    auto defaultsNow = std::move(defaults);
    loadedNow.clear();
    defaultsNow.clear();
    byHandle.clear();
    nextHandle = 1;
    trayIcons.clear();
    icons.clear();
    nextIconHandle = 1;
    held.clear();
    answers.clear();
    modalDepth = 0;
    handlerDepth = 0;
    untrapped = nullptr;
}

Model& model() {
    static Model instance;
    static const bool hooked = [] {
        platform::addBackendResetHook([] { model().clear(); });
        return true;
    }();
    (void)hooked;
    return instance;
}

int32_t nextControlId() {
    static int32_t next = 1;
    return next++;
}

int64_t nowMs() {
    return platform::clock().nowMs();
}

std::shared_ptr<Form>& defaultSlot(std::type_index type) {
    return model().defaults[type];
}

}  // namespace win::detail

namespace win {

Form* FindWindow(int32_t hWnd) {
    auto& handles = detail::model().byHandle;
    auto found = handles.find(hWnd);
    return found == handles.end() ? nullptr : found->second;
}

std::vector<std::shared_ptr<Form>> Forms() {
    return detail::model().loaded;
}

int FormCount() {
    return static_cast<int>(detail::model().loaded.size());
}

}  // namespace win
