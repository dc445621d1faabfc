// The browser's document model on any page: it parses or refuses within its limits; every id it
// indexes finds an element with that id; a field takes what is typed (or refuses it) and then reads
// it back cut to its length; frames are frame or iframe elements.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/web/html_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        platform::web::HtmlDocument page(bytes, "http://site.example/dir/page.html");
        if (page.elementCount() > platform::web::kMaxHtmlElements) {
            std::abort();
        }
        for (const auto& frame : page.frames()) {
            if (frame.element.tag().empty()) {
                std::abort();
            }
            const std::string id = frame.element.id();
            if (!id.empty() && !page.elementById(id)) {
                std::abort();
            }
        }
        for (const auto& link : page.links()) {
            const std::string id = link.element.id();
            if (!id.empty()) {
                const auto found = page.elementById(id);
                if (!found || found->id() != id) {
                    std::abort();
                }
                if (page.setValue(id, "typed") && page.value(id).value_or("?") != "typed" &&
                    page.value(id)->size() > 5) {
                    std::abort();
                }
            }
        }
    } catch (const platform::web::HtmlRefused&) {
        if (size <= platform::web::kMaxHtmlBytes && size < platform::web::kMaxHtmlElements) {
            std::abort();  // refused without being too large
        }
    }
    return 0;
}
