#include "main/cMD5.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <cstdio>
#include <string>

#include "platform/runtime/errors.h"
#include "support/run_time_error.h"

namespace {

// OpenSSL's MD5 of the given bytes, in lower-case hex.
std::string referenceMd5(const std::string& bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EXPECT_EQ(EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr), 1);
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", digest[i]);
        hex += pair;
    }
    return hex;
}

// count copies of unit; with a one-byte unit, a printable text that varies from byte to byte.
std::string text(size_t count, const std::string& unit = "") {
    std::string out;
    for (size_t i = 0; i < count; ++i) {
        out += unit.empty() ? std::string(1, static_cast<char>(' ' + (i * 37 + 11) % 95)) : unit;
    }
    return out;
}

TEST(MD5, EveryLengthUpTo200MatchesTheReference) {
    cMD5 md5;
    for (size_t length = 0; length <= 200; ++length) {
        EXPECT_EQ(md5.CalculateMD5(text(length)), referenceMd5(text(length))) << length;
    }
}

// Each character counts as its Windows-1252 byte, up to 32767 characters however long in UTF-8.
TEST(MD5, DigestsTheWindows1252BytesAndRefusesMoreThan32767Characters) {
    cMD5 md5;
    const std::pair<std::string, std::string> digested[] = {
        {"Grüße € ÿ",
         "Gr\xFC\xDF"
         "e \x80 \xFF"},
        {"日本", "??"},  // not in the code page
        {text(32767), text(32767)},
        {text(32767, "é"), text(32767, "\xE9")},
        {text(32767, "€"), text(32767, "\x80")},
    };
    for (const auto& [utf8, ansi] : digested) {
        EXPECT_EQ(md5.CalculateMD5(utf8), referenceMd5(ansi)) << utf8.size() << " bytes";
    }
    for (const auto& tooLong : {text(32768), text(32768, "é"), text(100000)}) {
        EXPECT_EQ(testsupport::errorNumberOf([&] { md5.CalculateMD5(tooLong); }),
                  platform::kOverflow)
            << tooLong.size() << " bytes";
    }
    // Neither a refused text nor a long one leaves anything behind for the next call.
    const std::string token = "3142025_member0042";
    md5.CalculateMD5(text(1000));
    EXPECT_EQ(md5.CalculateMD5(token), referenceMd5(token));
}

}  // namespace
