#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

struct _xmlDoc;
struct _xmlNode;

// A page as the browser sees it: parsed by libxml2's HTML parser into elements by id, input values,
// frames and links. Pure data: nothing is fetched and no page script runs.
namespace platform::web {

// Pages beyond these limits are refused, so a page never holds more memory than this.
inline constexpr size_t kMaxHtmlBytes = 4 * 1024 * 1024;
inline constexpr size_t kMaxHtmlElements = 100'000;

class HtmlRefused : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One element of a document, valid while the document lives.
class HtmlElement {
  public:
    explicit HtmlElement(const _xmlNode* node) : node_(node) {}

    // The tag name in lower case ("input", "iframe").
    std::string tag() const;
    std::string id() const { return attribute("id").value_or(""); }
    // Attribute names are matched in lower case, as the parser keeps them; entities are decoded.
    std::optional<std::string> attribute(std::string_view name) const;
    // Every attribute in the order of the page; a repeated name keeps its first value.
    std::vector<std::pair<std::string, std::string>> attributes() const;
    // The text of the element and everything inside it, entities decoded.
    std::string text() const;

    const _xmlNode* node() const { return node_; }

  private:
    const _xmlNode* node_;
};

struct HtmlFrame {
    HtmlElement element;  // a frame or an iframe
    std::string url;      // its src resolved; "about:blank" without one
};

struct HtmlLink {
    HtmlElement element;  // an a or an area with an href
    std::string url;      // the href resolved
};

class HtmlDocument {
  public:
    // Parses the page's bytes; url is the address it came from, charset the one its Content-Type
    // names (empty or unknown: the page's own meta charset or byte order mark, else ISO-8859-1).
    // Malformed HTML is repaired as the parser does. Throws HtmlRefused for a page above
    // kMaxHtmlBytes or with more than kMaxHtmlElements elements.
    HtmlDocument(std::string_view bytes, std::string_view url, std::string_view charset = {});
    ~HtmlDocument();
    HtmlDocument(HtmlDocument&&) noexcept;
    HtmlDocument& operator=(HtmlDocument&&) noexcept;

    const std::string& url() const { return url_; }
    // What relative addresses are resolved against: the first <base href>, else the url.
    const std::string& baseUrl() const { return baseUrl_; }
    std::string title() const;

    // The first element in document order with that id.
    std::optional<HtmlElement> elementById(std::string_view id) const;

    // The value of the input or textarea with that id: what was typed into it, else its value
    // attribute (an input) or its text (a textarea), else empty. Nothing for another element.
    std::optional<std::string> value(std::string_view id) const;
    // Replaces the value as a user typing would: only a text field (a textarea or an input of a
    // text type) that is neither disabled nor read-only takes it, cut to its maxlength in
    // characters. False when the id names no such field.
    bool setValue(std::string_view id, std::string_view text);

    // In document order.
    const std::vector<HtmlFrame>& frames() const { return frames_; }
    const std::vector<HtmlLink>& links() const { return links_; }

    size_t elementCount() const { return elementCount_; }

  private:
    void index();

    std::unique_ptr<_xmlDoc, void (*)(_xmlDoc*)> doc_;
    std::string url_;
    std::string baseUrl_;
    std::map<std::string, const _xmlNode*, std::less<>> byId_;
    std::unordered_map<const _xmlNode*, std::string> typed_;
    std::vector<HtmlFrame> frames_;
    std::vector<HtmlLink> links_;
    size_t elementCount_ = 0;
};

}  // namespace platform::web
