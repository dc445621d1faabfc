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
    };
    const Case cases[] = {
        {"<p id=a>one<p id=a>two", "a", "p", "one"},
        {"<DIV ID=b Class=K>unclosed <b>bold <i>it", "b", "div", "unclosed bold it", "class", "K"},
        {"<p id=e title='&eacute;&#233;&#xe9;&bogus;'>&lt;&eacute;&amp;&unknown;", "e", "p",
         "<é&&unknown;", "title", "ééé&bogus;"},
        // An outside entity is never fetched nor expanded.
        {"<!DOCTYPE html SYSTEM 'http://127.0.0.1:1/x.dtd'><p id=x>&ext;", "x", "p", "&ext;"},
        {std::string("<p id=n>a\0b</p><p id=after>c", 28), "after", "p", "c"},
        {"<p id=r a=1 a=2>x", "r", "p", "x", "a", "1"},
        {"<p id=A>case", "a", nullptr},
        {"", "a", nullptr},
    };
    for (const Case& c : cases) {
        const HtmlDocument document(c.html, kPage);
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
        {"empty", "", true, "éèê"},
        {"v", "x & y", true, "éèê"},
        {"area", "pre <t>", true, "éèê"},
        {"pw", "", true, "éèê"},
        {"button", "Go", false, "Go"},
        {"off", "", false, ""},
        {"ro", "", false, ""},
        {"short", "", true, "éè"},
        {"p", std::nullopt, false, std::nullopt},
        {"missing", std::nullopt, false, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(document.value(c.id), c.before) << c.id;
        EXPECT_EQ(document.setValue(c.id, "éèê"), c.takes) << c.id;
        EXPECT_EQ(document.value(c.id), c.after) << c.id;
    }
}

TEST(HtmlDocument, FramesAndLinksInDocumentOrderResolvedAgainstTheBase) {
    const HtmlDocument frameset("<frameset><frame src='top.php' id=t><frame></frameset>", kPage);
    ASSERT_EQ(frameset.frames().size(), 2u);
    EXPECT_EQ(frameset.frames()[0].url, "http://127.0.0.1:8080/dir/top.php");
    EXPECT_EQ(frameset.frames()[0].element.id(), "t");
    EXPECT_EQ(frameset.frames()[1].url, "about:blank");

    const HtmlDocument page(
        "<title>T &amp; t</title><a href='javascript:window.close()'>close</a><a>none</a>"
        "<iframe src=' /f?a=b c '></iframe><area href=''><base href='/other/'><a href=x>x</a>",
        kPage);
    EXPECT_EQ(page.title(), "T & t");
    EXPECT_EQ(page.baseUrl(), "http://127.0.0.1:8080/other/");
    ASSERT_EQ(page.frames().size(), 1u);
    EXPECT_EQ(page.frames()[0].url, "http://127.0.0.1:8080/f?a=b%20c");
    std::vector<std::string> links;
    for (const HtmlLink& link : page.links()) {
        links.push_back(link.element.tag() + " " + link.url);
    }
    EXPECT_EQ(links, (std::vector<std::string>{"a javascript:window.close()",
                                               "area http://127.0.0.1:8080/other/",
                                               "a http://127.0.0.1:8080/other/x"}));
}

// Without a charset from the transport the page's own meta charset counts, else ISO-8859-1.
TEST(HtmlDocument, CharsetFromTheTransportThenThePage) {
    struct Case {
        std::string html;
        const char* charset;
        const char* text;
    };
    for (const Case& c : {Case{"<p id=t>\xc3\xa9", "utf-8", "é"}, Case{"<p id=t>\xe9", "", "é"},
                          Case{"<meta charset=utf-8><p id=t>\xc3\xa9", "", "é"},
                          Case{"<p id=t>\xe9", "no-such-charset", "é"}}) {
        EXPECT_EQ(HtmlDocument(c.html, kPage, c.charset).elementById("t")->text(), c.text)
            << c.charset;
    }
}

TEST(HtmlDocument, PagesBeyondTheLimitsAreRefused) {
    EXPECT_THROW(HtmlDocument(std::string(kMaxHtmlBytes + 1, ' '), kPage), HtmlRefused);
    std::string breaks;
    for (size_t i = 0; i < kMaxHtmlElements; ++i) {
        breaks += "<br>";
    }
    EXPECT_THROW(HtmlDocument(breaks, kPage), HtmlRefused);  // with html and body, one too many
    // Nesting deeper than the parser follows is cut, not a crash.
    std::string deep;
    for (int i = 0; i < 100'000; ++i) {
        deep += "<div>";
    }
    EXPECT_LT(HtmlDocument(deep + "<p id=x>", kPage).elementCount(), 1000u);
}

}  // namespace
