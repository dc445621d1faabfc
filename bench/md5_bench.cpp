// cMD5 against OpenSSL's MD5 on the same inputs: a poll token and the longest text cMD5 takes.
// Both sides go from text to a 32-digit lower-case hex string.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <benchmark/benchmark.h>
#include <openssl/md5.h>

#include <string>

#include "main/cMD5.h"

namespace {

// A date with "/" removed, "_" and a 10-character member name.
const std::string kToken = "3142025_member0042";

std::string longText() {
    std::string text;
    for (size_t i = 0; i < 32767; ++i) {
        text += static_cast<char>(' ' + (i * 37 + 11) % 95);
    }
    return text;
}
const std::string kLongText = longText();

std::string openSslMd5(const std::string& text) {
    unsigned char digest[MD5_DIGEST_LENGTH];
    MD5(reinterpret_cast<const unsigned char*>(text.data()), text.size(), digest);
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * MD5_DIGEST_LENGTH);
    for (const unsigned char byte : digest) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xF];
    }
    return hex;
}

void runCMD5(benchmark::State& state, const std::string& text) {
    cMD5 md5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(md5.CalculateMD5(text));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void runOpenSsl(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(openSslMd5(text));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

}  // namespace

BENCHMARK_CAPTURE(runCMD5, token, kToken);
BENCHMARK_CAPTURE(runOpenSsl, token, kToken);
BENCHMARK_CAPTURE(runCMD5, long32767, kLongText);
BENCHMARK_CAPTURE(runOpenSsl, long32767, kLongText);
