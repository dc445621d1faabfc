#pragma once

#include <cstdint>
#include <vector>

#include "platform/ui/window_api.h"

namespace win {

// The modes of CombineRgn and the kinds of region it reports.
constexpr int32_t RGN_AND = 1;
constexpr int32_t RGN_OR = 2;
constexpr int32_t RGN_XOR = 3;
constexpr int32_t RGN_DIFF = 4;
constexpr int32_t RGN_COPY = 5;

constexpr int32_t ERROR = 0;
constexpr int32_t NULLREGION = 1;
constexpr int32_t SIMPLEREGION = 2;
constexpr int32_t COMPLEXREGION = 3;

// A set of pixels kept as horizontal bands, top to bottom. A band covers the rows [top, bottom)
// and holds the columns [left, right) of its spans, left to right. The form is canonical: bands
// never overlap, none is empty, two touching bands never hold the same spans (they would be one
// band), and spans in a band neither overlap nor touch. So two regions with the same pixels have
// the same bands, and a backend can draw the shape straight from rects().
class Region {
  public:
    struct Span {
        int32_t left = 0;
        int32_t right = 0;
        bool operator==(const Span&) const = default;
    };
    struct Band {
        int32_t top = 0;
        int32_t bottom = 0;
        std::vector<Span> spans;
    };

    Region() = default;

    // The rectangle [left, right) x [top, bottom), corners in either order; empty when it has no
    // width or no height.
    static Region rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);

    // a combined with b by mode (RGN_AND, RGN_OR, RGN_XOR or RGN_DIFF). a is taken by value so that
    // a caller replacing a region with its own combination can move it in: the bands the operation
    // does not touch are then moved rather than copied, which keeps adding or cutting one cell
    // cheap however large the region is.
    static Region combine(Region a, const Region& b, int32_t mode);

    const std::vector<Band>& bands() const { return bands_; }
    // One rectangle per span, band by band.
    std::vector<RECT> rects() const;
    // NULLREGION, SIMPLEREGION (one rectangle) or COMPLEXREGION.
    int32_t complexity() const;
    bool contains(int32_t x, int32_t y) const;
    // The smallest rectangle around the region; all zero when it is empty.
    RECT box() const;

  private:
    // Appends the rows [top, bottom) with spans, joining them to the last band when it ends at top
    // and holds the same spans.
    void append(int32_t top, int32_t bottom, std::vector<Span> spans);

    std::vector<Band> bands_;
};

}  // namespace win
