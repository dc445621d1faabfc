#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The MD5 message digest (RFC 1321) of a text, as the poll token needs it: the text is taken one
// byte per character in the ANSI code page, and the digest is written as 32 lower-case hex digits.
class cMD5 {
  public:
    // Raises run-time error 6 when the text is longer than 32767 characters. Every call starts
    // from scratch, so one object can be reused.
    std::string CalculateMD5(std::string_view strMessage);

  private:
    enum class Round { FF, GG, HH, II };

    static std::string StringToBytes(std::string_view strMessage);
    void MD5Init();
    void MD5Update(const unsigned char* byData, int32_t lLength);
    void MD5Transform(const unsigned char* byBlock);
    template <Round R>
    static int32_t MD5Round(int32_t a, int32_t b, int32_t c, int32_t d, int32_t x, int s,
                            uint32_t t);
    static int32_t RotateLeft(int32_t lValue, int iShift);
    static int32_t AddUnsigned(int32_t lX, int32_t lY);
    static int32_t AddUnsigned4(int32_t lA, int32_t lB, int32_t lC, int32_t lD);
    static int32_t UnsignedToLong(uint32_t lValue);
    void MD5Final();
    std::string DigestToHex() const;

    int32_t lByteCount_ = 0;
    int32_t lA_ = 0;
    int32_t lB_ = 0;
    int32_t lC_ = 0;
    int32_t lD_ = 0;
    std::array<unsigned char, 64> byBuffer_{};
};
