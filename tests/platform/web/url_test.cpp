#include "platform/web/url.h"

#include <gtest/gtest.h>

namespace {

using platform::web::resolveUrl;

constexpr const char* kPage = "http://127.0.0.1:8080/dir/page.php?x=1";

TEST(Url, ReferencesResolveAsABrowserResolvesThem) {
    struct Case {
        const char* reference;
        const char* base;
        const char* url;
    };
    for (const Case& c : {
             Case{"../a?q", kPage, "http://127.0.0.1:8080/a?q"},
             Case{"?q=1", kPage, "http://127.0.0.1:8080/dir/page.php?q=1"},
             Case{"#f#g", kPage, "http://127.0.0.1:8080/dir/page.php?x=1#f%23g"},
             Case{"//other/p", kPage, "http://other/p"},
             Case{"?q=1", "http://127.0.0.1:8080", "http://127.0.0.1:8080/?q=1"},
             Case{"..", "http://127.0.0.1:8080", "http://127.0.0.1:8080/"},
             Case{"p.php?m=é <b>&p=100%", "http://h/",
                  "http://h/p.php?m=%C3%A9%20%3Cb%3E&p=100%25"},
             Case{"\t/a\nb%41 ", "http://h/x", "http://h/abA"},
             Case{"HTTP://X/Y", "http://h/", "HTTP://X/Y"},
             Case{"x", "not a url at all", "x"},
         }) {
        EXPECT_EQ(resolveUrl(c.reference, c.base), c.url) << c.reference << " on " << c.base;
    }
}

}  // namespace
