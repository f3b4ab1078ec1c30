// SPDX-License-Identifier: GPL-3.0-or-later
// TESS, Kepler and K2 light curves as the missions' archives give them: FITS files with a
// table of cadences, read through cfitsio.
#pragma once

#include "core/observed_data.h"

#include <string>
#include <string_view>

namespace orvanta {

/// Whether a file's first bytes are a FITS header ("SIMPLE  =" at the start).
bool isFits(std::string_view start);

/// Reads the light-curve table of a FITS file: TIME plus BJDREFI + BJDREFF as full
/// BJD (TDB), PDCSAP_FLUX and its error (SAP_FLUX with `options.sapFlux`), the rows with a
/// NaN or an unusable QUALITY (Kepler: SAP_QUALITY) bit dropped and counted, the target's
/// name (OBJECT) beside the file's. Throws DataFileError.
ObservedData readFitsLightCurve(const std::string& path, std::string name,
                                const ObservedOptions& options);

/// The steps every reader ends with: brightnesses far from all the others dropped, at
/// least three rows, full days, time order. Throws DataFileError.
void finishObserved(ObservedData& data);

} // namespace orvanta
