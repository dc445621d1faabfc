#include "main/cMD5.h"

#include <algorithm>
#include <bit>

#include "platform/runtime/ansi.h"
#include "platform/runtime/errors.h"

namespace {
// The byte form is indexed by a 16-bit count, so longer texts cannot be digested.
constexpr size_t kMaxMessageLength = 32767;

constexpr std::array<unsigned char, 64> kPadding = {0x80};
}  // namespace

std::string cMD5::CalculateMD5(std::string_view strMessage) {
    const std::string byMessage = StringToBytes(strMessage);
    MD5Init();
    MD5Update(reinterpret_cast<const unsigned char*>(byMessage.data()),
              static_cast<int32_t>(byMessage.size()));
    MD5Final();
    return DigestToHex();
}

// Windows-1252 holds every character in one byte (an unrepresentable one becomes "?"), so the
// length in bytes is the length in characters and only the length limit can fail.
std::string cMD5::StringToBytes(std::string_view strMessage) {
    std::string byMessage = platform::toAnsi(strMessage);
    if (byMessage.size() > kMaxMessageLength) {
        platform::raise(platform::kOverflow);
    }
    return byMessage;
}

void cMD5::MD5Init() {
    lByteCount_ = 0;
    lA_ = UnsignedToLong(0x67452301);
    lB_ = UnsignedToLong(0xEFCDAB89);
    lC_ = UnsignedToLong(0x98BADCFE);
    lD_ = UnsignedToLong(0x10325476);
}

void cMD5::MD5Update(const unsigned char* byData, int32_t lLength) {
    const int32_t lWaiting = lByteCount_ % 64;
    lByteCount_ += lLength;
    int32_t lTaken = 0;
    if (lLength >= 64 - lWaiting) {
        std::copy(byData, byData + (64 - lWaiting), byBuffer_.begin() + lWaiting);
        MD5Transform(byBuffer_.data());
        for (lTaken = 64 - lWaiting; lTaken + 64 <= lLength; lTaken += 64) {
            MD5Transform(byData + lTaken);
        }
        std::copy(byData + lTaken, byData + lLength, byBuffer_.begin());
    } else {
        std::copy(byData, byData + lLength, byBuffer_.begin() + lWaiting);
    }
}

void cMD5::MD5Transform(const unsigned char* byBlock) {
    std::array<int32_t, 16> x{};
    for (size_t i = 0; i < x.size(); ++i) {
        const unsigned char* p = byBlock + 4 * i;
        x[i] = UnsignedToLong(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 |
                              uint32_t{p[3]} << 24);
    }

    int32_t a = lA_;
    int32_t b = lB_;
    int32_t c = lC_;
    int32_t d = lD_;

    a = MD5Round<Round::FF>(a, b, c, d, x[0], 7, 0xD76AA478);
    d = MD5Round<Round::FF>(d, a, b, c, x[1], 12, 0xE8C7B756);
    c = MD5Round<Round::FF>(c, d, a, b, x[2], 17, 0x242070DB);
    b = MD5Round<Round::FF>(b, c, d, a, x[3], 22, 0xC1BDCEEE);
    a = MD5Round<Round::FF>(a, b, c, d, x[4], 7, 0xF57C0FAF);
    d = MD5Round<Round::FF>(d, a, b, c, x[5], 12, 0x4787C62A);
    c = MD5Round<Round::FF>(c, d, a, b, x[6], 17, 0xA8304613);
    b = MD5Round<Round::FF>(b, c, d, a, x[7], 22, 0xFD469501);
    a = MD5Round<Round::FF>(a, b, c, d, x[8], 7, 0x698098D8);
    d = MD5Round<Round::FF>(d, a, b, c, x[9], 12, 0x8B44F7AF);
    c = MD5Round<Round::FF>(c, d, a, b, x[10], 17, 0xFFFF5BB1);
    b = MD5Round<Round::FF>(b, c, d, a, x[11], 22, 0x895CD7BE);
    a = MD5Round<Round::FF>(a, b, c, d, x[12], 7, 0x6B901122);
    d = MD5Round<Round::FF>(d, a, b, c, x[13], 12, 0xFD987193);
    c = MD5Round<Round::FF>(c, d, a, b, x[14], 17, 0xA679438E);
    b = MD5Round<Round::FF>(b, c, d, a, x[15], 22, 0x49B40821);

    a = MD5Round<Round::GG>(a, b, c, d, x[1], 5, 0xF61E2562);
    d = MD5Round<Round::GG>(d, a, b, c, x[6], 9, 0xC040B340);
    c = MD5Round<Round::GG>(c, d, a, b, x[11], 14, 0x265E5A51);
    b = MD5Round<Round::GG>(b, c, d, a, x[0], 20, 0xE9B6C7AA);
    a = MD5Round<Round::GG>(a, b, c, d, x[5], 5, 0xD62F105D);
    d = MD5Round<Round::GG>(d, a, b, c, x[10], 9, 0x02441453);
    c = MD5Round<Round::GG>(c, d, a, b, x[15], 14, 0xD8A1E681);
    b = MD5Round<Round::GG>(b, c, d, a, x[4], 20, 0xE7D3FBC8);
    a = MD5Round<Round::GG>(a, b, c, d, x[9], 5, 0x21E1CDE6);
    d = MD5Round<Round::GG>(d, a, b, c, x[14], 9, 0xC33707D6);
    c = MD5Round<Round::GG>(c, d, a, b, x[3], 14, 0xF4D50D87);
    b = MD5Round<Round::GG>(b, c, d, a, x[8], 20, 0x455A14ED);
    a = MD5Round<Round::GG>(a, b, c, d, x[13], 5, 0xA9E3E905);
    d = MD5Round<Round::GG>(d, a, b, c, x[2], 9, 0xFCEFA3F8);
    c = MD5Round<Round::GG>(c, d, a, b, x[7], 14, 0x676F02D9);
    b = MD5Round<Round::GG>(b, c, d, a, x[12], 20, 0x8D2A4C8A);

    a = MD5Round<Round::HH>(a, b, c, d, x[5], 4, 0xFFFA3942);
    d = MD5Round<Round::HH>(d, a, b, c, x[8], 11, 0x8771F681);
    c = MD5Round<Round::HH>(c, d, a, b, x[11], 16, 0x6D9D6122);
    b = MD5Round<Round::HH>(b, c, d, a, x[14], 23, 0xFDE5380C);
    a = MD5Round<Round::HH>(a, b, c, d, x[1], 4, 0xA4BEEA44);
    d = MD5Round<Round::HH>(d, a, b, c, x[4], 11, 0x4BDECFA9);
    c = MD5Round<Round::HH>(c, d, a, b, x[7], 16, 0xF6BB4B60);
    b = MD5Round<Round::HH>(b, c, d, a, x[10], 23, 0xBEBFBC70);
    a = MD5Round<Round::HH>(a, b, c, d, x[13], 4, 0x289B7EC6);
    d = MD5Round<Round::HH>(d, a, b, c, x[0], 11, 0xEAA127FA);
    c = MD5Round<Round::HH>(c, d, a, b, x[3], 16, 0xD4EF3085);
    b = MD5Round<Round::HH>(b, c, d, a, x[6], 23, 0x04881D05);
    a = MD5Round<Round::HH>(a, b, c, d, x[9], 4, 0xD9D4D039);
    d = MD5Round<Round::HH>(d, a, b, c, x[12], 11, 0xE6DB99E5);
    c = MD5Round<Round::HH>(c, d, a, b, x[15], 16, 0x1FA27CF8);
    b = MD5Round<Round::HH>(b, c, d, a, x[2], 23, 0xC4AC5665);

    a = MD5Round<Round::II>(a, b, c, d, x[0], 6, 0xF4292244);
    d = MD5Round<Round::II>(d, a, b, c, x[7], 10, 0x432AFF97);
    c = MD5Round<Round::II>(c, d, a, b, x[14], 15, 0xAB9423A7);
    b = MD5Round<Round::II>(b, c, d, a, x[5], 21, 0xFC93A039);
    a = MD5Round<Round::II>(a, b, c, d, x[12], 6, 0x655B59C3);
    d = MD5Round<Round::II>(d, a, b, c, x[3], 10, 0x8F0CCC92);
    c = MD5Round<Round::II>(c, d, a, b, x[10], 15, 0xFFEFF47D);
    b = MD5Round<Round::II>(b, c, d, a, x[1], 21, 0x85845DD1);
    a = MD5Round<Round::II>(a, b, c, d, x[8], 6, 0x6FA87E4F);
    d = MD5Round<Round::II>(d, a, b, c, x[15], 10, 0xFE2CE6E0);
    c = MD5Round<Round::II>(c, d, a, b, x[6], 15, 0xA3014314);
    b = MD5Round<Round::II>(b, c, d, a, x[13], 21, 0x4E0811A1);
    a = MD5Round<Round::II>(a, b, c, d, x[4], 6, 0xF7537E82);
    d = MD5Round<Round::II>(d, a, b, c, x[11], 10, 0xBD3AF235);
    c = MD5Round<Round::II>(c, d, a, b, x[2], 15, 0x2AD7D2BB);
    b = MD5Round<Round::II>(b, c, d, a, x[9], 21, 0xEB86D391);

    lA_ = AddUnsigned(lA_, a);
    lB_ = AddUnsigned(lB_, b);
    lC_ = AddUnsigned(lC_, c);
    lD_ = AddUnsigned(lD_, d);
}

template <cMD5::Round R>
int32_t cMD5::MD5Round(int32_t a, int32_t b, int32_t c, int32_t d, int32_t x, int s, uint32_t t) {
    int32_t f = 0;
    if constexpr (R == Round::FF) {
        f = (b & c) | (~b & d);
    } else if constexpr (R == Round::GG) {
        f = (b & d) | (c & ~d);
    } else if constexpr (R == Round::HH) {
        f = b ^ c ^ d;
    } else {
        f = c ^ (b | ~d);
    }
    return AddUnsigned(b, RotateLeft(AddUnsigned4(a, f, x, UnsignedToLong(t)), s));
}

int32_t cMD5::RotateLeft(int32_t lValue, int iShift) {
    return UnsignedToLong(std::rotl(static_cast<uint32_t>(lValue), iShift));
}

// Words are added as their unsigned bit patterns, so no sum ever overflows a signed type.
int32_t cMD5::AddUnsigned(int32_t lX, int32_t lY) {
    return UnsignedToLong(static_cast<uint32_t>(lX) + static_cast<uint32_t>(lY));
}

int32_t cMD5::AddUnsigned4(int32_t lA, int32_t lB, int32_t lC, int32_t lD) {
    return UnsignedToLong(static_cast<uint32_t>(lA) + static_cast<uint32_t>(lB) +
                          static_cast<uint32_t>(lC) + static_cast<uint32_t>(lD));
}

int32_t cMD5::UnsignedToLong(uint32_t lValue) {
    return std::bit_cast<int32_t>(lValue);
}

void cMD5::MD5Final() {
    // At most 32767 * 8 bits, so the upper half of the 64-bit length field is always zero.
    const int32_t lBits = lByteCount_ * 8;
    const int32_t lWaiting = lByteCount_ % 64;
    const int32_t lPadding = lWaiting < 56 ? 56 - lWaiting : 120 - lWaiting;
    MD5Update(kPadding.data(), lPadding);

    const auto uBits = static_cast<uint32_t>(lBits);
    const std::array<unsigned char, 8> byLength = {static_cast<unsigned char>(uBits & 0xFF),
                                                   static_cast<unsigned char>((uBits >> 8) & 0xFF),
                                                   static_cast<unsigned char>((uBits >> 16) & 0xFF),
                                                   static_cast<unsigned char>(uBits >> 24),
                                                   0,
                                                   0,
                                                   0,
                                                   0};
    MD5Update(byLength.data(), static_cast<int32_t>(byLength.size()));
}

std::string cMD5::DigestToHex() const {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string sHex;
    sHex.reserve(32);
    for (const int32_t lWord : {lA_, lB_, lC_, lD_}) {
        const auto uWord = static_cast<uint32_t>(lWord);
        for (int iByte = 0; iByte < 4; ++iByte) {
            const uint32_t byValue = (uWord >> (8 * iByte)) & 0xFF;
            sHex += kDigits[byValue >> 4];
            sHex += kDigits[byValue & 0xF];
        }
    }
    return sHex;
}
