#include "platform/web/html_document.h"

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <array>

#include "platform/runtime/text.h"
#include "platform/web/url.h"

namespace platform::web {

namespace {

constexpr int kParseOptions = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                              HTML_PARSE_NONET | HTML_PARSE_COMPACT;

// Input types a user types text into.
constexpr std::array<std::string_view, 8> kTextInputTypes{"",      "text", "password", "search",
                                                          "email", "url",  "tel",      "number"};

const char* chars(const xmlChar* text) {
    return reinterpret_cast<const char*>(text);
}

std::string owned(xmlChar* text) {
    std::string copy = text != nullptr ? chars(text) : "";
    xmlFree(text);
    return copy;
}

bool isElement(const xmlNode* node, std::string_view tag) {
    return node->type == XML_ELEMENT_NODE && tag == chars(node->name);
}

// The next node in document order below root, or nullptr; no recursion, so depth costs no stack.
const xmlNode* nextNode(const xmlNode* node, const xmlNode* root) {
    if (node->type == XML_ELEMENT_NODE && node->children != nullptr) {
        return node->children;
    }
    while (node != root) {
        if (node->next != nullptr) {
            return node->next;
        }
        node = node->parent;
    }
    return nullptr;
}

// The first count characters of UTF-8 text.
std::string_view firstCharacters(std::string_view text, size_t count) {
    size_t at = 0;
    for (size_t seen = 0; at < text.size(); ++at) {
        if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80 && seen++ == count) {
            break;
        }
    }
    return text.substr(0, at);
}

}  // namespace

std::string HtmlElement::tag() const {
    return LCase(chars(node_->name));
}

std::optional<std::string> HtmlElement::attribute(std::string_view name) const {
    for (const xmlAttr* attr = node_->properties; attr != nullptr; attr = attr->next) {
        if (name == chars(attr->name)) {
            return owned(xmlNodeListGetString(node_->doc, attr->children, 1));
        }
    }
    return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> HtmlElement::attributes() const {
    std::vector<std::pair<std::string, std::string>> all;
    for (const xmlAttr* attr = node_->properties; attr != nullptr; attr = attr->next) {
        all.emplace_back(chars(attr->name),
                         owned(xmlNodeListGetString(node_->doc, attr->children, 1)));
    }
    return all;
}

std::string HtmlElement::text() const {
    return owned(xmlNodeGetContent(node_));
}

HtmlDocument::HtmlDocument(std::string_view bytes, std::string_view url, std::string_view charset)
    : doc_(nullptr, xmlFreeDoc), url_(url), baseUrl_(url) {
    if (bytes.size() > kMaxHtmlBytes) {
        throw HtmlRefused("a page of " + std::to_string(bytes.size()) +
                          " bytes is larger than the " + std::to_string(kMaxHtmlBytes) +
                          " a page may have");
    }
    xmlInitParser();
    const std::unique_ptr<htmlParserCtxt, void (*)(htmlParserCtxtPtr)> context(htmlNewParserCtxt(),
                                                                               htmlFreeParserCtxt);
    if (!context) {
        throw HtmlRefused("the HTML parser cannot start");
    }
    const std::string encoding(charset);
    // An empty page parses to no document at all: it is a document without elements.
    doc_.reset(htmlCtxtReadMemory(context.get(), bytes.data(), static_cast<int>(bytes.size()),
                                  url_.c_str(), encoding.empty() ? nullptr : encoding.c_str(),
                                  kParseOptions));
    index();
}

HtmlDocument::~HtmlDocument() = default;
HtmlDocument::HtmlDocument(HtmlDocument&&) noexcept = default;
HtmlDocument& HtmlDocument::operator=(HtmlDocument&&) noexcept = default;

void HtmlDocument::index() {
    const xmlNode* root = doc_ ? xmlDocGetRootElement(doc_.get()) : nullptr;
    std::vector<std::pair<const xmlNode*, bool>> references;  // true: a frame
    bool baseSeen = false;
    for (const xmlNode* node = root; node != nullptr; node = nextNode(node, root)) {
        if (node->type != XML_ELEMENT_NODE) {
            continue;
        }
        if (++elementCount_ > kMaxHtmlElements) {
            throw HtmlRefused("a page with more than " + std::to_string(kMaxHtmlElements) +
                              " elements is more than a page may hold");
        }
        const HtmlElement element(node);
        if (std::optional<std::string> id = element.attribute("id")) {
            byId_.try_emplace(std::move(*id), node);
        }
        if (isElement(node, "base") && !baseSeen) {
            if (std::optional<std::string> href = element.attribute("href")) {
                baseUrl_ = resolveUrl(*href, url_);
                baseSeen = true;
            }
        } else if (isElement(node, "frame") || isElement(node, "iframe")) {
            references.emplace_back(node, true);
        } else if ((isElement(node, "a") || isElement(node, "area")) && element.attribute("href")) {
            references.emplace_back(node, false);
        }
    }
    // Resolved once the whole page is read, as a <base> anywhere counts for every reference.
    for (const auto& [node, isFrame] : references) {
        const HtmlElement element(node);
        if (isFrame) {
            const std::string src = element.attribute("src").value_or("");
            frames_.push_back({element, src.empty() ? "about:blank" : resolveUrl(src, baseUrl_)});
        } else {
            links_.push_back({element, resolveUrl(*element.attribute("href"), baseUrl_)});
        }
    }
}

std::string HtmlDocument::title() const {
    const xmlNode* root = doc_ ? xmlDocGetRootElement(doc_.get()) : nullptr;
    for (const xmlNode* node = root; node != nullptr; node = nextNode(node, root)) {
        if (isElement(node, "title")) {
            return HtmlElement(node).text();
        }
    }
    return {};
}

std::optional<HtmlElement> HtmlDocument::elementById(std::string_view id) const {
    const auto found = byId_.find(id);
    if (found == byId_.end()) {
        return std::nullopt;
    }
    return HtmlElement(found->second);
}

std::optional<std::string> HtmlDocument::value(std::string_view id) const {
    const std::optional<HtmlElement> element = elementById(id);
    if (!element ||
        !(isElement(element->node(), "input") || isElement(element->node(), "textarea"))) {
        return std::nullopt;
    }
    if (const auto typed = typed_.find(element->node()); typed != typed_.end()) {
        return typed->second;
    }
    return isElement(element->node(), "input") ? element->attribute("value").value_or("")
                                               : element->text();
}

bool HtmlDocument::setValue(std::string_view id, std::string_view text) {
    const std::optional<HtmlElement> element = elementById(id);
    if (!element || element->attribute("disabled") || element->attribute("readonly")) {
        return false;
    }
    const bool textInput =
        isElement(element->node(), "input") &&
        std::find(kTextInputTypes.begin(), kTextInputTypes.end(),
                  LCase(element->attribute("type").value_or(""))) != kTextInputTypes.end();
    if (!textInput && !isElement(element->node(), "textarea")) {
        return false;
    }
    std::string_view kept = text;
    const std::string maxLength = element->attribute("maxlength").value_or("");
    if (!maxLength.empty() && maxLength.find_first_not_of("0123456789") == std::string::npos &&
        maxLength.size() < 10) {
        kept = firstCharacters(text, std::stoul(maxLength));
    }
    typed_[element->node()] = kept;
    return true;
}

}  // namespace platform::web
