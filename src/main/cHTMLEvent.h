#pragma once

#include <memory>
#include <string>

#include "platform/browser/web_browser.h"
#include "platform/ui/form.h"

// Hooks a page element's click to a window's method: the page calls the adapter's default member,
// and the adapter calls the named method of the window it was given. It keeps that window alive
// until it ends, and ends when the page that holds it goes.
class cHTMLEvent : public win::DispatchObject {
  public:
    ~cHTMLEvent() override { Class_Terminate(); }

    void Event_Details(std::shared_ptr<win::Form> CallObject, const std::string& CallMethod);
    // The default member: calls the method by its name, without arguments.
    void HTML_Event();
    void Invoke() override { HTML_Event(); }

  private:
    void Class_Terminate();

    std::shared_ptr<win::Form> m_CallObject;
    std::string m_CallMethod;
};
