#include "main/cHTMLEvent.h"

#include "platform/net/object.h"
#include "platform/runtime/errors.h"

void cHTMLEvent::Event_Details(std::shared_ptr<win::Form> CallObject,
                               const std::string& CallMethod) {
    m_CallObject = std::move(CallObject);
    m_CallMethod = CallMethod;
}

void cHTMLEvent::HTML_Event() {
    if (!m_CallObject) {
        platform::raise(91, "Object variable or With block variable not set");
    }
    // The result is discarded; a failure passes to the page.
    win::CallByName(*m_CallObject, m_CallMethod);
}

void cHTMLEvent::Class_Terminate() {
    m_CallObject.reset();
}
