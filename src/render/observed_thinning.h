// SPDX-License-Identifier: GPL-3.0-or-later
// Of many observed points, at most one per pixel column and row of the graph: where more
// would not show apart, the first in time order stands for them when the points are drawn
// and compared with the model curve.
#pragma once

#include <cstdint>
#include <vector>

namespace orvanta {

/// The cells of a grid taken in one pass: the first point in a cell takes it, the others
/// in it are left out.
class PixelCells {
public:
    PixelCells(int columns, int rows);
    /// Frees every cell for a new pass (in constant time, but for once in 2^32 passes).
    void clear();
    /// Whether the cell (x, y) was free; it is taken now. The cell must lie in the grid.
    bool take(int x, int y) {
        std::uint32_t& cell = stamp_[static_cast<std::size_t>(y) * columns_ + x];
        if (cell == now_) return false;
        cell = now_;
        return true;
    }
    [[nodiscard]] int columns() const { return columns_; }
    [[nodiscard]] int rows() const { return rows_; }

private:
    int columns_, rows_;
    std::vector<std::uint32_t> stamp_; ///< == now_: taken in this pass
    std::uint32_t now_ = 1;
};

/// The row of a cell for a point whose graph row plus one half is `y` (its pixel row is the
/// whole part) on a graph of `height` rows: its pixel's row + 1 on the graph, and one row
/// above (0, and for NaN) and one below (height + 1) for all the points off the graph.
inline int cellRow(double y, int height) {
    if (!(y >= 0)) return 0;
    if (y >= height) return height + 1;
    return static_cast<int>(y) + 1;
}

/// The rows of cells cellRow uses for a graph of `height` rows: the graph's, one above and
/// one below.
inline int cellRows(int height) {
    return height + 2;
}

} // namespace orvanta
