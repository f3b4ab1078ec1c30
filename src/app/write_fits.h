// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a light curve in the layout of the TESS and Kepler archives' FITS files (a primary
// header naming the telescope and the object, a LIGHTCURVE binary table), for the sample
// files, the tests and the benchmarks. Synthetic numbers only.
#pragma once

#include <fitsio.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvanta {

struct FitsLightCurve {
    std::string telescope = "TESS"; ///< "TESS", "Kepler" or "K2"
    std::string object = "TIC 0";
    int bjdRefI = 2457000;
    double bjdRefF = 0;
    std::vector<double> time; ///< days since the reference; NaN for a gap
    std::vector<float> sapFlux, sapErr, pdcsapFlux, pdcsapErr;
    std::vector<int> quality;
};

/// Writes the file, replacing any at `path`. Throws std::runtime_error.
inline void writeFitsLightCurve(const std::string& path, const FitsLightCurve& lc) {
    std::remove(path.c_str());
    fitsfile* f = nullptr;
    int status = 0;
    auto check = [&](const char* what) {
        if (status != 0) {
            char text[FLEN_STATUS] = {};
            fits_get_errstatus(status, text);
            throw std::runtime_error(std::string(what) + ": " + text);
        }
    };
    fits_create_file(&f, path.c_str(), &status);
    check("create");
    fits_create_img(f, 8, 0, nullptr, &status);
    char telescope[FLEN_VALUE], object[FLEN_VALUE], ref[] = "SOLARSYSTEM", sys[] = "TDB";
    std::snprintf(telescope, sizeof telescope, "%s", lc.telescope.c_str());
    std::snprintf(object, sizeof object, "%s", lc.object.c_str());
    fits_update_key(f, TSTRING, "TELESCOP", telescope, "telescope", &status);
    fits_update_key(f, TSTRING, "OBJECT", object, "SYNTHETIC: made from the Orvanta model",
                    &status);
    check("primary header");
    const bool kepler = lc.telescope != "TESS";
    char c0[] = "TIME", c1[] = "SAP_FLUX", c2[] = "SAP_FLUX_ERR", c3[] = "PDCSAP_FLUX",
         c4[] = "PDCSAP_FLUX_ERR", c5q[] = "QUALITY", c5k[] = "SAP_QUALITY";
    char fd[] = "D", fe[] = "E", fj[] = "J", ud[] = "d", ue[] = "e-/s", un[] = "";
    char* names[] = {c0, c1, c2, c3, c4, kepler ? c5k : c5q};
    char* forms[] = {fd, fe, fe, fe, fe, fj};
    char* units[] = {ud, ue, ue, ue, ue, un};
    char ext[] = "LIGHTCURVE";
    fits_create_tbl(f, BINARY_TBL, 0, 6, names, forms, units, ext, &status);
    fits_update_key(f, TINT, "BJDREFI", const_cast<int*>(&lc.bjdRefI), "", &status);
    fits_update_key(f, TDOUBLE, "BJDREFF", const_cast<double*>(&lc.bjdRefF), "", &status);
    fits_update_key(f, TSTRING, "TIMEREF", ref, "", &status);
    fits_update_key(f, TSTRING, "TIMESYS", sys, "", &status);
    check("table header");
    const auto n = static_cast<LONGLONG>(lc.time.size());
    fits_write_col(f, TDOUBLE, 1, 1, 1, n, const_cast<double*>(lc.time.data()), &status);
    fits_write_col(f, TFLOAT, 2, 1, 1, n, const_cast<float*>(lc.sapFlux.data()), &status);
    fits_write_col(f, TFLOAT, 3, 1, 1, n, const_cast<float*>(lc.sapErr.data()), &status);
    fits_write_col(f, TFLOAT, 4, 1, 1, n, const_cast<float*>(lc.pdcsapFlux.data()), &status);
    fits_write_col(f, TFLOAT, 5, 1, 1, n, const_cast<float*>(lc.pdcsapErr.data()), &status);
    fits_write_col(f, TINT, 6, 1, 1, n, const_cast<int*>(lc.quality.data()), &status);
    check("table");
    fits_close_file(f, &status);
    check("close");
}

} // namespace orvanta
