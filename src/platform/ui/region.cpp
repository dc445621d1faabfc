#include "platform/ui/region.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace win {

namespace {

using Span = Region::Span;
using Band = Region::Band;

constexpr int32_t kEnd = std::numeric_limits<int32_t>::max();

bool keeps(int32_t mode, bool inA, bool inB) {
    switch (mode) {
        case RGN_AND:
            return inA && inB;
        case RGN_OR:
            return inA || inB;
        case RGN_XOR:
            return inA != inB;
        default:  // RGN_DIFF
            return inA && !inB;
    }
}

// The edge at position i of a span list read as left0, right0, left1, right1, ...; kEnd past it.
int32_t edge(const std::vector<Span>& spans, size_t i) {
    if (i >= 2 * spans.size()) {
        return kEnd;
    }
    const Span& span = spans[i / 2];
    return i % 2 == 0 ? span.left : span.right;
}

// Sweeps the edges of both rows left to right and keeps the columns where the mode holds.
std::vector<Span> combineSpans(const std::vector<Span>& a, const std::vector<Span>& b,
                               int32_t mode) {
    std::vector<Span> out;
    size_t i = 0;
    size_t j = 0;
    bool inA = false;
    bool inB = false;
    bool inOut = false;
    int32_t start = 0;
    while (i < 2 * a.size() || j < 2 * b.size()) {
        const int32_t x = std::min(edge(a, i), edge(b, j));
        for (; edge(a, i) == x && i < 2 * a.size(); ++i) {
            inA = !inA;
        }
        for (; edge(b, j) == x && j < 2 * b.size(); ++j) {
            inB = !inB;
        }
        const bool now = keeps(mode, inA, inB);
        if (now && !inOut) {
            start = x;
        } else if (!now && inOut) {
            out.push_back({start, x});
        }
        inOut = now;
    }
    return out;
}

}  // namespace

Region Region::rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    Region region;
    if (left > right) {
        std::swap(left, right);
    }
    if (top > bottom) {
        std::swap(top, bottom);
    }
    if (left < right && top < bottom) {
        region.bands_.push_back({top, bottom, {{left, right}}});
    }
    return region;
}

void Region::append(int32_t top, int32_t bottom, std::vector<Span> spans) {
    if (spans.empty()) {
        return;
    }
    if (!bands_.empty() && bands_.back().bottom == top && bands_.back().spans == spans) {
        bands_.back().bottom = bottom;
        return;
    }
    bands_.push_back({top, bottom, std::move(spans)});
}

Region Region::combine(Region a, const Region& b, int32_t mode) {
    Region out;
    out.bands_.reserve(a.bands_.size() + 2 * b.bands_.size() + 1);
    std::vector<Band>& bandsA = a.bands_;
    const std::vector<Band>& bandsB = b.bands_;
    size_t ia = 0;
    size_t ib = 0;
    int32_t y = std::numeric_limits<int32_t>::min();
    // Each step covers rows [y, next) over which neither region changes.
    while (ia < bandsA.size() || ib < bandsB.size()) {
        Band* bandA = ia < bandsA.size() && bandsA[ia].top <= y ? &bandsA[ia] : nullptr;
        const Band* bandB = ib < bandsB.size() && bandsB[ib].top <= y ? &bandsB[ib] : nullptr;
        int32_t next = kEnd;
        if (ia < bandsA.size()) {
            next = std::min(next, bandA ? bandA->bottom : bandsA[ia].top);
        }
        if (ib < bandsB.size()) {
            next = std::min(next, bandB ? bandB->bottom : bandsB[ib].top);
        }
        if (bandA && bandB) {
            out.append(y, next, combineSpans(bandA->spans, bandB->spans, mode));
        } else if (bandA && mode != RGN_AND) {
            // Rows of a alone stay as they are; the last step over a band may take its spans.
            out.append(y, next, next == bandA->bottom ? std::move(bandA->spans) : bandA->spans);
        } else if (bandB && (mode == RGN_OR || mode == RGN_XOR)) {
            out.append(y, next, bandB->spans);
        }
        y = next;
        if (bandA && bandA->bottom == y) {
            ++ia;
        }
        if (bandB && bandB->bottom == y) {
            ++ib;
        }
    }
    return out;
}

std::vector<RECT> Region::rects() const {
    std::vector<RECT> out;
    for (const Band& band : bands_) {
        for (const Span& span : band.spans) {
            out.push_back({span.left, band.top, span.right, band.bottom});
        }
    }
    return out;
}

int32_t Region::complexity() const {
    if (bands_.empty()) {
        return NULLREGION;
    }
    return bands_.size() == 1 && bands_.front().spans.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool Region::contains(int32_t x, int32_t y) const {
    const auto band = std::upper_bound(bands_.begin(), bands_.end(), y,
                                       [](int32_t row, const Band& b) { return row < b.bottom; });
    if (band == bands_.end() || y < band->top) {
        return false;
    }
    const auto span = std::upper_bound(band->spans.begin(), band->spans.end(), x,
                                       [](int32_t col, const Span& s) { return col < s.right; });
    return span != band->spans.end() && x >= span->left;
}

RECT Region::box() const {
    if (bands_.empty()) {
        return {};
    }
    RECT box{kEnd, bands_.front().top, std::numeric_limits<int32_t>::min(), bands_.back().bottom};
    for (const Band& band : bands_) {
        box.Left = std::min(box.Left, band.spans.front().left);
        box.Right = std::max(box.Right, band.spans.back().right);
    }
    return box;
}

}  // namespace win
