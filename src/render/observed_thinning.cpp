// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/observed_thinning.h"

#include <algorithm>

namespace orvanta {

PixelCells::PixelCells(int columns, int rows)
    : columns_(columns), rows_(rows),
      stamp_(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0) {}

void PixelCells::clear() {
    if (++now_ == 0) {
        std::fill(stamp_.begin(), stamp_.end(), 0);
        now_ = 1;
    }
}

} // namespace orvanta
