#include "main/md5.h"

#include <gtest/gtest.h>

#include <openssl/evp.h>
#include "support/run_time_error.h"

#include <cstdio>
#include <string>

#include "platform/runtime/errors.h"

namespace {

// OpenSSL's MD5 of the given bytes, in lower-case hex.
std::string referenceMd5(const std::string& bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr) != 1) {
        ADD_FAILURE() << "EVP_Digest failed";
        return {};
    }
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", digest[i]);
        hex += pair;
    }
    return hex;
}

// A printable ASCII text of the given length that varies from byte to byte.
std::string asciiText(size_t length) {
    std::string text;
    for (size_t i = 0; i < length; ++i) {
        text += static_cast<char>(' ' + (i * 37 + 11) % 95);
    }
    return text;
}

std::string repeat(const std::string& unit, size_t times) {
    std::string text;
    for (size_t i = 0; i < times; ++i) {
        text += unit;
    }
    return text;
}

int errorNumberOf(cMD5& md5, const std::string& text) {
    return testsupport::errorNumberOf([&] { md5.CalculateMD5(text); });
}

TEST(MD5, EveryLengthUpTo200MatchesTheReference) {
    cMD5 md5;
    for (size_t length = 0; length <= 200; ++length) {
        const std::string text = asciiText(length);
        EXPECT_EQ(md5.CalculateMD5(text), referenceMd5(text)) << "length " << length;
    }
}

// Each character counts as its Windows-1252 byte, up to 32767 characters however long in UTF-8.
TEST(MD5, DigestsTheWindows1252BytesAndRefusesMoreThan32767Characters) {
    cMD5 md5;
    const struct {
        std::string text;
        std::string ansi;
    } digested[] = {
        {"é", "\xE9"},
        {"€ 5", "\x80 5"},
        {"Grüße_ñ",
         "Gr\xFC\xDF"
         "e_\xF1"},
        {"ÿ", "\xFF"},
        {"日本", "??"},  // not in the code page
        {asciiText(32767), asciiText(32767)},
        {repeat("é", 32767), repeat("\xE9", 32767)},
        {repeat("€", 32767), repeat("\x80", 32767)},
    };
    for (const auto& c : digested) {
        EXPECT_EQ(md5.CalculateMD5(c.text), referenceMd5(c.ansi)) << c.text.size() << " bytes";
    }
    for (const auto& text : {asciiText(32768), repeat("é", 32768), asciiText(100000)}) {
        EXPECT_EQ(errorNumberOf(md5, text), platform::kOverflow) << text.size() << " bytes";
    }
}

TEST(MD5, CallsOnOneObjectAreIndependent) {
    const std::string token = "3142025_member0042";
    const std::string expected = referenceMd5(token);
    cMD5 md5;
    EXPECT_EQ(md5.CalculateMD5(token), expected);
    EXPECT_EQ(md5.CalculateMD5(token), expected);
    md5.CalculateMD5(asciiText(1000));  // leaves a partly filled block behind
    EXPECT_EQ(md5.CalculateMD5(token), expected);
    EXPECT_EQ(errorNumberOf(md5, asciiText(40000)), platform::kOverflow);
    EXPECT_EQ(md5.CalculateMD5(token), expected);
}

}  // namespace
