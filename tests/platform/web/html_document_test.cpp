#include "platform/web/html_document.h"

#include <gtest/gtest.h>

namespace {

using namespace platform::web;

const std::string kPage = "http://127.0.0.1:8080/dir/page.php?x=1";

// Malformed pages are repaired, never refused: the first element of an id wins.
TEST(HtmlDocument, ElementsByIdInTrickyPages) {
    struct Case {
        std::string html;
        const char* id;
        const char* tag;  // nullptr: no such element
        const char* text = "";
        const char* attribute = "";
        const char* attributeValue = "";
        const char* charset = "";
    };
    const Case cases[] = {
        {"<p id=a>one<p id=a>two", "a", "p", "one"},
        {"<DIV ID=b Class=K>unclosed <b>bold <i>it", "b", "div", "unclosed bold it", "class", "K"},
        {"<p id=e title='&eacute;&#233;&#xe9;&bogus;'>&lt;&eacute;&amp;&unknown;", "e", "p",
         "<é&&unknown;", "title", "ééé&bogus;"},
        // An outside entity is never fetched nor expanded.
        {"<!DOCTYPE html SYSTEM 'http://127.0.0.1:1/x.dtd'><p id=x>&ext;", "x", "p", "&ext;"},
        {"<p id=A>case", "a", nullptr},
        // The transport's charset; an unknown one counts as none (the page's, else ISO-8859-1).
        {"<p id=t>\xc3\xa9", "t", "p", "é", "", "", "utf-8"},
        {"<p id=t>\xe9", "t", "p", "é", "", "", "no-such-charset"},
        {"", "a", nullptr},
    };
    for (const Case& c : cases) {
        const HtmlDocument document(c.html, kPage, c.charset);
        const std::optional<HtmlElement> element = document.elementById(c.id);
        ASSERT_EQ(element.has_value(), c.tag != nullptr) << c.html;
        if (element) {
            EXPECT_EQ(element->tag(), c.tag) << c.html;
            EXPECT_EQ(element->text(), c.text) << c.html;
            EXPECT_EQ(element->attribute(c.attribute).value_or(""), c.attributeValue) << c.html;
        }
    }
}

TEST(HtmlDocument, FieldsTakeWhatAUserCouldType) {
    HtmlDocument document(
        "<input id=empty><input id=v value='x &amp; y'><textarea id=area>pre &lt;t&gt;</textarea>"
        "<input id=pw type=PASSWORD><input id=button type=button value=Go><input id=off disabled>"
        "<input id=ro readonly><input id=short maxlength=2><p id=p>text</p>",
        kPage);
    struct Case {
        const char* id;
        std::optional<std::string> before;
        bool takes;
        std::optional<std::string> after;
    };
    const Case cases[] = {
        {"empty", "", true, "éèê"},       {"v", "x & y", true, "éèê"},
        {"area", "pre <t>", true, "éèê"}, {"button", "Go", false, "Go"},
        {"off", "", false, ""},           {"ro", "", false, ""},
        {"short", "", true, "éè"},        {"p", std::nullopt, false, std::nullopt},
        {"pw", "", true, "éèê"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(document.value(c.id), c.before) << c.id;
        EXPECT_EQ(document.setValue(c.id, "éèê"), c.takes) << c.id;
        EXPECT_EQ(document.value(c.id), c.after) << c.id;
    }
}

// Each link and frame of the page: its tag, id and resolved URL, in document order.
std::string references(const HtmlDocument& document) {
    std::string all;
    for (const HtmlLink& link : document.links()) {
        all += link.element.tag() + "#" + link.element.id() + " " + link.url + "\n";
    }
    for (const HtmlFrame& frame : document.frames()) {
        all += frame.element.tag() + "#" + frame.element.id() + " " + frame.url + "\n";
    }
    return all;
}

TEST(HtmlDocument, FramesAndLinksInDocumentOrderResolvedAgainstTheBase) {
    EXPECT_EQ(
        references(HtmlDocument("<frameset><frame src='top.php' id=t><frame></frameset>", kPage)),
        "frame#t http://127.0.0.1:8080/dir/top.php\nframe# about:blank\n");
    const HtmlDocument page(
        "<title>T &amp; t</title><a href='javascript:window.close()' id=c>close</a><a>none</a>"
        "<iframe src=' /f?a=b c '></iframe><area href=''><base href='/other/'><a href=x>x</a>",
        kPage);
    EXPECT_EQ(page.title(), "T & t");
    EXPECT_EQ(references(page),
              "a#c javascript:window.close()\narea# http://127.0.0.1:8080/other/\n"
              "a# http://127.0.0.1:8080/other/x\niframe# http://127.0.0.1:8080/f?a=b%20c\n");
    // Browser rules where the URI functions alone would differ or fail.
    EXPECT_EQ(references(HtmlDocument("<a href='?q=1'><a href=..><a href='#f#g'>"
                                      "<a href='p.php?m=é <b>&amp;p=100%'><a href='\t/a\nb%41 '>",
                                      "http://h", "utf-8")),
              "a# http://h/?q=1\na# http://h/\na# http://h/#f%23g\n"
              "a# http://h/p.php?m=%C3%A9%20%3Cb%3E&p=100%25\na# http://h/abA\n");
    EXPECT_EQ(references(HtmlDocument("<a href='x y'>", "not a url")), "a# x%20y\n");
}

TEST(HtmlDocument, PagesBeyondTheLimitsAreRefused) {
    EXPECT_THROW(HtmlDocument(std::string(kMaxHtmlBytes + 1, ' '), kPage), HtmlRefused);
    std::string breaks;
    for (size_t i = 0; i < kMaxHtmlElements; ++i) {
        breaks += "<br>";
    }
    EXPECT_THROW(HtmlDocument(breaks, kPage), HtmlRefused);  // with html and body, one too many
}

}  // namespace
