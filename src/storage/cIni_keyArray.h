#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A two-dimensional text array with first index 0 to 2 and second index 0 to n, the result of
// cIni::InsertSKVtoArray: (1, k) a key, (2, k) its value. An index outside the bounds raises
// run-time error 9.
class IniKeyArray {
  public:
    IniKeyArray() { ReDim(0); }

    // Second index 0 to upper; every element empty.
    void ReDim(std::int16_t upper);
    // Second index 0 to upper, keeping the elements both bounds hold.
    void ReDimPreserve(std::int16_t upper);

    // Room for rows 0 to upper without regrowth; the bounds stay as they are.
    void reserve(size_t upper) { rows_.reserve(upper + 1); }

    std::int16_t UBound2() const { return static_cast<std::int16_t>(rows_.size() - 1); }

    std::string& operator()(int first, int second);
    const std::string& operator()(int first, int second) const;

  private:
    // Element (first, second) is rows_[second][first].
    std::vector<std::array<std::string, 3>> rows_;
};
