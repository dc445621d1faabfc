#include "platform/web/url.h"

#include <libxml/uri.h>
#include <libxml/xmlmemory.h>

#include <memory>

namespace platform::web {

namespace {

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isAsciiWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool strayPercentAt(std::string_view text, size_t at) {
    return text[at] == '%' &&
           (at + 2 >= text.size() || !isHexDigit(text[at + 1]) || !isHexDigit(text[at + 2]));
}

void appendEscaped(std::string& out, unsigned char byte) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0f];
}

// The reference as a URI parser takes it (see resolveUrl).
std::string encodedReference(std::string_view reference) {
    while (!reference.empty() && isAsciiWhitespace(reference.front())) {
        reference.remove_prefix(1);
    }
    while (!reference.empty() && isAsciiWhitespace(reference.back())) {
        reference.remove_suffix(1);
    }
    std::string encoded;
    bool fragment = false;
    for (size_t at = 0; at < reference.size(); ++at) {
        const char c = reference[at];
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\t' || c == '\n' || c == '\r') {
            continue;
        }
        if (byte <= 0x20 || byte >= 0x7f ||
            std::string_view("\"<>\\^`{|}").find(c) != std::string_view::npos ||
            (c == '#' && fragment) || strayPercentAt(reference, at)) {
            appendEscaped(encoded, byte);
        } else {
            encoded += c;
        }
        fragment = fragment || c == '#';
    }
    return encoded;
}

struct XmlFree {
    void operator()(xmlChar* text) const { xmlFree(text); }
    void operator()(xmlURI* uri) const { xmlFreeURI(uri); }
};

// libxml2 decodes escapes in a host name and writes the host back as it decoded it: a blank, a
// control, a byte above 127 or a "%" that starts no escape that came in escaped goes out escaped
// again.
std::string escapedBytes(std::string_view text) {
    std::string out;
    for (size_t at = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte <= 0x20 || byte >= 0x7f || strayPercentAt(text, at)) {
            appendEscaped(out, byte);
        } else {
            out += text[at];
        }
    }
    return out;
}

// The URL with "/" as the path of a host that has none ("?q" and ".." stay below the host).
std::string withRootPath(std::string_view url) {
    const std::string text(url);
    const std::unique_ptr<xmlURI, XmlFree> uri(xmlParseURI(text.c_str()));
    if (!uri || uri->server == nullptr || uri->path != nullptr) {
        return text;
    }
    uri->path = reinterpret_cast<char*>(xmlStrdup(reinterpret_cast<const xmlChar*>("/")));
    const std::unique_ptr<xmlChar, XmlFree> saved(xmlSaveUri(uri.get()));
    // Written back by libxml2, whose host comes out decoded.
    return saved ? escapedBytes(reinterpret_cast<const char*>(saved.get())) : text;
}

}  // namespace

std::string resolveUrl(std::string_view reference, std::string_view base) {
    const std::string encoded = encodedReference(reference);
    const std::string baseText(base);
    const std::unique_ptr<xmlChar, XmlFree> resolved(
        xmlBuildURI(reinterpret_cast<const xmlChar*>(encoded.c_str()),
                    reinterpret_cast<const xmlChar*>(baseText.c_str())));
    if (!resolved) {
        return encoded;
    }
    // Escaped before the root path is added: a host with a blank would not parse.
    return withRootPath(escapedBytes(reinterpret_cast<const char*>(resolved.get())));
}

}  // namespace platform::web
