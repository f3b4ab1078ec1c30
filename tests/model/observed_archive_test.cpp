// SPDX-License-Identifier: GPL-3.0-or-later
// Files as the archives give them (made by data/make-data from the model, with noise):
// each layout recognised by its header, the right columns, bands, limits, flags and time
// systems; and the files that must never reach the screen with a figure that is not one.
#include "app/write_fits.h"
#include "core/observed_data.h"
#include "render/observed_overlay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

using namespace orvanta;

namespace {

ObservedData archive(const char* file, const ObservedOptions& options = {}) {
    return readObserved(std::string(ORVANTA_SOURCE_DIR) + "/data/archive/" + file, file, options);
}

std::size_t reason(const ObservedData& d, const std::string& why) {
    for (const SkipReason& r : d.skippedReasons)
        if (r.reason == why) return r.count;
    return 0;
}

bool inOrder(const ObservedData& d) {
    return std::is_sorted(d.time.begin(), d.time.end());
}

TEST(ArchiveLayouts, AavsoKeepsTheMostNumerousBandAndSkipsLimits) {
    const ObservedData d = archive("aavso.csv");
    EXPECT_EQ(d.format, ObservedFormat::Aavso);
    EXPECT_EQ(d.timeColumn, "JD");
    EXPECT_EQ(d.brightnessColumn, "Magnitude");
    EXPECT_EQ(d.errorColumn, "Uncertainty");
    EXPECT_EQ(d.timeSystem, "JD");
    EXPECT_EQ(d.band, "V");
    ASSERT_EQ(d.bands.size(), 3u);
    EXPECT_EQ(d.bands[0].band, "V");
    EXPECT_EQ(d.bands[0].count, d.time.size());
    EXPECT_GT(reason(d, "a limit (fainter than shown), not a measurement"), 0u);
    EXPECT_EQ(d.period.has_value(), true);
    // Visual estimates have no uncertainty: kept, without an error bar.
    const ObservedData vis = archive("aavso.csv", {.band = "vis."});
    EXPECT_EQ(vis.band, "Vis.");
    EXPECT_GT(vis.time.size(), 10u);
    EXPECT_TRUE(
        std::all_of(vis.error.begin(), vis.error.end(), [](double e) { return std::isnan(e); }));
    try {
        archive("aavso.csv", {.band = "R"});
        FAIL();
    } catch (const DataFileError& e) {
        EXPECT_TRUE(
            std::string(e.what()).starts_with("the file has no rows in the band R (it has "))
            << e.what();
    }
}

TEST(ArchiveLayouts, AsasSnBothLayoutsSortedWithLimitsSkipped) {
    const ObservedData d = archive("asas-sn.csv");
    EXPECT_EQ(d.format, ObservedFormat::AsasSn);
    EXPECT_EQ(d.timeColumn, "HJD");
    EXPECT_EQ(d.brightnessColumn, "mag");
    EXPECT_EQ(d.errorColumn, "mag_err");
    EXPECT_EQ(d.timeSystem, "HJD");
    EXPECT_TRUE(d.sorted);
    EXPECT_TRUE(inOrder(d));
    // Rows i % 53 == 7 of 150 per camera are limits: 7, 60, 113 on each.
    EXPECT_EQ(reason(d, "a limit (fainter than shown), not a measurement"), 6u);
    EXPECT_EQ(d.time.size(), 294u);

    const ObservedData db = archive("asas-sn-db.csv");
    EXPECT_EQ(db.format, ObservedFormat::AsasSn);
    EXPECT_EQ(db.brightnessColumn, "Mag");
    EXPECT_EQ(db.errorColumn, "Mag Error");
    EXPECT_EQ(db.timeSystem, "JD");
    EXPECT_EQ(db.band, "g");
    EXPECT_EQ(db.time.size(), 200u);
    EXPECT_EQ(archive("asas-sn-db.csv", {.band = "V"}).time.size(), 80u);
}

TEST(ArchiveLayouts, ZtfDropsFlaggedRowsAndKeepsOneFilter) {
    const ObservedData d = archive("ztf.csv");
    EXPECT_EQ(d.format, ObservedFormat::Ztf);
    EXPECT_EQ(d.timeColumn, "hjd");
    EXPECT_EQ(d.errorColumn, "magerr");
    EXPECT_EQ(d.timeSystem, "HJD");
    EXPECT_EQ(d.band, "zg");
    // catflags set on rows 3, 64, 125 of the 180 zg rows and 3, 64 of the 120 zr rows.
    EXPECT_EQ(reason(d, "flagged in catflags"), 5u);
    EXPECT_EQ(d.time.size(), 177u);
    EXPECT_EQ(d.bands, (std::vector<BandCount>{{"zg", 177}, {"zr", 118}}));
    EXPECT_TRUE(inOrder(d));
}

// A row that ends before its catflags field has no flag: kept, as a row without a quality
// field is.
TEST(ArchiveLayouts, ZtfRowEndingBeforeItsCatflagsIsKept) {
    const ObservedData d = parseObserved("hjd,mag,magerr,filtercode,catflags\n"
                                         "2459000.1,15.1,0.01,zg,0\n"
                                         "2459000.2,15.2,0.01,zg,32768\n"
                                         "2459000.3,15.3,0.01,zg\n"
                                         "2459000.4,15.4,0.01,zg,0\n",
                                         "short.csv");
    EXPECT_EQ(d.format, ObservedFormat::Ztf);
    EXPECT_EQ(reason(d, "flagged in catflags"), 1u);
    EXPECT_EQ(d.value, (std::vector<double>{15.1, 15.3, 15.4}));
}

TEST(ArchiveLayouts, KeplerCatalogueCommentHeaderCorrectedFluxAndReducedDates) {
    const ObservedData d = archive("kebc.txt");
    EXPECT_EQ(d.format, ObservedFormat::Kebc);
    EXPECT_EQ(d.timeColumn, "bjd");
    EXPECT_EQ(d.brightnessColumn, "corr_flux");
    EXPECT_EQ(d.errorColumn, "corr_err");
    EXPECT_EQ(d.brightness, Brightness::Flux);
    EXPECT_EQ(d.timeOffset, 2400000);
    EXPECT_EQ(d.time.size(), 400u);
    EXPECT_NEAR(d.time.front(), 2459000, 1e-6);
    EXPECT_NEAR(d.value.front(), 1, 0.2); // a relative flux, not the phase or a raw count
}

TEST(ArchiveLayouts, TessTablePrefersThePdcsapFluxAndDropsQualityBits) {
    const ObservedData d = archive("tess.csv");
    EXPECT_EQ(d.format, ObservedFormat::Plain);
    EXPECT_EQ(d.brightnessColumn, "pdcsap_flux");
    EXPECT_EQ(d.errorColumn, "pdcsap_flux_err");
    // Bit 32 (rows 13, 110, 207, 304) is dropped; bit 1024 is not one that marks a row.
    EXPECT_EQ(reason(d, "flagged in the quality column"), 4u);
    EXPECT_EQ(d.time.size(), 396u);
}

TEST(ArchiveLayouts, SemicolonsWithDecimalCommasAndABandLetterHeader) {
    const ObservedData d = archive("german.csv");
    EXPECT_EQ(d.brightnessColumn, "V");
    EXPECT_EQ(d.band, "V");
    EXPECT_EQ(d.time.size(), 200u);
    EXPECT_EQ(d.skipped, 0u);
    EXPECT_NEAR(d.error.front(), 0.01, 1e-12);
    EXPECT_NEAR(d.value.front(), 9.2, 1.5);
}

// A column named by its band alone, one letter or the two of Rc and Ic.
TEST(ArchiveLayouts, ABandNameAloneNamesTheBrightnessColumn) {
    for (const char* band : {"V", "Rc", "Ic", "g"}) {
        const ObservedData d =
            parseObserved(std::string("HJD,") + band + "\n1,10.1\n2,10.3\n3,10.2\n", "band.csv");
        EXPECT_EQ(d.band, band);
        EXPECT_EQ(d.brightness, Brightness::Magnitude) << band;
        EXPECT_EQ(d.time.size(), 3u) << band;
    }
}

TEST(ArchiveLayouts, FitsLightCurvesOfTessAndKepler) {
    for (const char* file : {"tess.fits", "kepler.fits"}) {
        SCOPED_TRACE(file);
        const bool tess = file[0] == 't';
        const ObservedData d = archive(file);
        EXPECT_EQ(d.format, tess ? ObservedFormat::TessFits : ObservedFormat::KeplerFits);
        EXPECT_EQ(d.timeColumn, "TIME");
        EXPECT_EQ(d.brightnessColumn, "PDCSAP_FLUX");
        EXPECT_EQ(d.errorColumn, "PDCSAP_FLUX_ERR");
        EXPECT_EQ(d.timeSystem, "BJD");
        EXPECT_EQ(d.timeOffset, tess ? 2457000 : 2454833);
        EXPECT_EQ(d.target, tess ? "TIC 000000001 (synthetic)" : "KIC 000000001 (synthetic)");
        EXPECT_EQ(d.name, std::string(file) + " (" + *d.target + ")");
        // 600 cadences: 12 flagged (bits 128 and 4; bit 2048 kept), 4 gaps, 5 NaN fluxes.
        EXPECT_EQ(reason(d, "flagged in the quality column"), 12u);
        EXPECT_EQ(reason(d, "the time is not a number"), 4u);
        EXPECT_EQ(reason(d, "the brightness is not a number"), 5u);
        EXPECT_EQ(d.time.size(), 579u);
        EXPECT_NEAR(d.time.front(), tess ? 2459000 : 2459000, 1e-6);
        const ObservedData sap = archive(file, {.band = std::nullopt, .sapFlux = true});
        EXPECT_EQ(sap.brightnessColumn, "SAP_FLUX");
        EXPECT_EQ(sap.time.size(), 584u);
    }
}

// The reference day of the times is BJDREFI plus its fraction BJDREFF.
TEST(ArchiveLayouts, FitsTimesCountFromTheWholeAndTheFractionOfTheReferenceDay) {
    FitsLightCurve lc;
    lc.bjdRefI = 2457000;
    lc.bjdRefF = 0.25;
    for (int i = 0; i < 20; ++i) {
        lc.time.push_back(1 + 0.1 * i);
        lc.sapFlux.push_back(100);
        lc.sapErr.push_back(1);
        lc.pdcsapFlux.push_back(100);
        lc.pdcsapErr.push_back(1);
        lc.quality.push_back(0);
    }
    const auto path = std::filesystem::temp_directory_path() / "orvanta_reference_day.fits";
    writeFitsLightCurve(path.string(), lc);
    const ObservedData d = readObserved(path.string(), "reference.fits");
    std::filesystem::remove(path);
    EXPECT_EQ(d.timeOffset, 2457000.25);
    ASSERT_EQ(d.time.size(), 20u);
    EXPECT_NEAR(d.time.front(), 2457001.25, 1e-9);
}

TEST(ArchiveLayouts, TheSummarySaysWhatWasRead) {
    EXPECT_EQ(describeObserved(archive("ztf.csv")),
              "ztf.csv: ZTF light curve\n"
              "time: hjd (HJD)\n"
              "brightness: mag (magnitude), error: magerr\n"
              "band zg: 177 points kept; also zr (118), not shown\n"
              "5 rows skipped: 5 flagged in catflags\n"
              "no period in the file: folded on the model's period");
}

// ---- files that must not put a non-number on screen, nor stall or flood memory ----

/// The caption after showing the data over a plain graph.
std::string shownCaption(const ObservedData& d) {
    ObservedOverlay o;
    o.beginCurve();
    for (int k = 0; k <= 8; ++k)
        o.curveSample(0.125 * k, k == 4 ? 0.5 : 1);
    o.endCurve();
    o.show(prepareObserved(d));
    ObservedOverlay::Graph g;
    g.period = 1;
    g.maxPower = 1;
    g.maxShown = 1;
    g.graphMag = 300;
    g.graphBase = 0.5;
    g.axisY = 360;
    for (int mode = 0; mode < 2; ++mode) {
        g.mode = mode;
        o.update(g);
        for (double p : o.alignedPhase())
            EXPECT_TRUE(p >= 0 && p < 1) << p;
    }
    return o.caption();
}

bool finiteText(const std::string& s) {
    for (const char* bad : {"nan", "inf", "NaN", "Inf"})
        if (s.find(bad) != std::string::npos) return false;
    return true;
}

TEST(HostileFiles, HugeValuesAreSkippedWithTheirReasonAndNoFigureIsNonFinite) {
    const ObservedData span = parseObserved("1 2\n2 2.5\n1e308 2\n3 2\n", "span.txt");
    EXPECT_EQ(reason(span, "a time more than 100 million days from zero"), 1u);
    EXPECT_TRUE(finiteText(shownCaption(span)));
    const ObservedData huge = parseObserved("1 1\n2 1.4E+214\n3 1.1\n4 0.9\n5 1\n", "huge.txt");
    EXPECT_EQ(reason(huge, "a magnitude beyond 100"), 1u);
    const ObservedData flux =
        parseObserved("t flux\n1 1\n2 1.4E+214\n3 1.1\n4 0.9\n5 1e-300\n", "flux.txt");
    EXPECT_EQ(reason(flux, "a brightness more than 50 magnitudes from the rest"), 2u);
    EXPECT_EQ(flux.skipped, 2u);
    EXPECT_EQ(flux.time.size(), 3u);
    EXPECT_TRUE(finiteText(shownCaption(flux)));
    for (const char* text : {"-1e308 1\n0 1\n1e308 1\n", "# period = 1e-300 d\n1 1\n2 1\n3 1\n",
                             "# epoch = 1e300\n1 1\n2 1\n3 1\n"}) {
        EXPECT_THROW(parseObserved(text, "x"), DataFileError) << text;
    }
}

TEST(HostileFiles, FoldingTimesThatOverflowGivesPhasesNotAnOverflowedIndex) {
    // Past the reader's limits, as another reader might hand them over: (t - t0) / P is
    // infinite or NaN and must fold to a phase all the same.
    ObservedData d;
    d.name = "x";
    d.time = {-1e308, 0, 1e308};
    d.value = {1, 1, 1};
    EXPECT_TRUE(finiteText(shownCaption(d)));
    d.period = 1e-300;
    EXPECT_TRUE(finiteText(shownCaption(d)));
}

TEST(LargeSets, MoreThanTheMostUsedAreThinnedEvenlyAndTheCaptionSaysSo) {
    ObservedData d;
    d.name = "big";
    d.period = 1;
    const std::size_t n = 2 * ObservedOverlay::MaxUsedPoints + 1;
    for (std::size_t i = 0; i < n; ++i) {
        d.time.push_back(0.001 * static_cast<double>(i));
        d.value.push_back(i % 1000 < 100 ? 2 : 1);
    }
    const std::string caption = shownCaption(d);
    EXPECT_EQ(caption.find("big: 200001 points ("), 0u) << caption;
    EXPECT_NE(caption.find(" drawn, one per pixel), rms "), std::string::npos) << caption;
    d.time.resize(ObservedOverlay::MaxUsedPoints);
    d.value.resize(ObservedOverlay::MaxUsedPoints);
    EXPECT_EQ(shownCaption(d).find(" drawn"), std::string::npos);
}

TEST(PixelCells, TheFirstPointInACellTakesItUntilTheNextPass) {
    PixelCells cells(3, 2);
    EXPECT_TRUE(cells.take(2, 1));
    EXPECT_FALSE(cells.take(2, 1));
    EXPECT_TRUE(cells.take(1, 1));
    EXPECT_TRUE(cells.take(2, 0));
    cells.clear();
    EXPECT_TRUE(cells.take(2, 1));
    // Off the graph: one row above (and for NaN), one below.
    EXPECT_EQ(cellRow(-0.2, 10), 0);
    EXPECT_EQ(cellRow(NAN, 10), 0);
    EXPECT_EQ(cellRow(0, 10), 1);
    EXPECT_EQ(cellRow(9.99, 10), 10);
    EXPECT_EQ(cellRow(10, 10), 11);
    EXPECT_EQ(cellRow(1e300, 10), 11);
    EXPECT_EQ(cellRows(10), 12); // 0 to 11
}

/// A noisy eclipse of `n` points over many cycles, with error bars.
ObservedData noisyEclipse(std::size_t n) {
    ObservedData d;
    d.name = "noisy";
    d.period = 2.5;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = 2459000 + 0.0137 * static_cast<double>(i);
        const double phase = std::fmod(t - 2459000, 2.5) / 2.5;
        const double depth = std::fabs(phase - 0.5) < 0.05 ? 0.8 : 0;
        d.time.push_back(t);
        d.value.push_back(10 + depth + 0.02 * std::sin(static_cast<double>(i) * 1.7));
        d.error.push_back(0.02);
    }
    return d;
}

TEST(LargeSets, AThinnedSetUsesOnePointPerPixelAndLosesNoPixelAPointWouldCover) {
    ObservedOverlay o;
    o.beginCurve();
    for (int k = 0; k <= 8; ++k)
        o.curveSample(0.125 * k, k == 4 ? 0.5 : 1);
    o.endCurve();
    const ObservedSet set = prepareObserved(noisyEclipse(3 * ObservedOverlay::MaxUsedPoints));
    o.show(set);
    ObservedOverlay::Graph g;
    g.period = 2.5 / 365.2425;
    g.maxPower = 1;
    g.maxShown = 1;
    g.graphMag = 300;
    g.graphBase = 0.5;
    g.axisY = 360;
    for (int mode = 0; mode < 2; ++mode) {
        g.mode = mode;
        g.graphMag = mode == 0 ? 300 : -200;
        o.update(g);
        ASSERT_TRUE(o.thinned());
        const std::vector<double>& obs = mode == 0 ? set.flux : set.mag;
        // At most one point used per pixel column and row (off the graph: one row above,
        // one below)...
        std::vector<char> seen(static_cast<std::size_t>(Surface::W) * (Surface::H + 2), 0);
        const std::vector<std::uint32_t>& used = o.usedPoints();
        ASSERT_GT(used.size(), 1000u);
        ASSERT_LT(used.size(), set.time.size() / 10);
        for (std::size_t k = 0; k < used.size(); ++k) {
            const int x = static_cast<int>(793 * o.alignedPhase()[k] + 0.5);
            const int y = cellRow(ObservedOverlay::graphRow(g, obs[used[k]]) + 0.5, Surface::H);
            char& cell = seen[static_cast<std::size_t>(y) * Surface::W + x];
            ASSERT_EQ(cell, 0) << k;
            cell = 1;
        }
        // ...and every point on the graph lies under a square drawn, as if all were drawn
        // (but at the two ends of the graph, where a pixel's points may wrap apart).
        const double shift = o.phaseShift();
        for (std::size_t i = 0; i < set.time.size(); i += 7) {
            double p = frac((set.time[i] - set.time.front()) / 2.5) + shift;
            p = p < 0 ? p + 1 : p >= 1 ? p - 1 : p;
            const int x = static_cast<int>(793 * p + 0.5);
            const double y = ObservedOverlay::graphRow(g, obs[i]) + 0.5;
            if (!(y >= 0 && y < Surface::H) || x < 2 || x > 791) continue;
            ASSERT_EQ(o.pixel(x, static_cast<int>(y)), ObservedOverlay::PointColour)
                << "point " << i << " mode " << mode;
        }
        ASSERT_TRUE(o.rms());
    }
    // A sample taken beforehand (off the event loop) gives the same picture and figures.
    ObservedOverlay ready;
    ready.beginCurve();
    for (int k = 0; k <= 8; ++k)
        ready.curveSample(0.125 * k, k == 4 ? 0.5 : 1);
    ready.endCurve();
    auto shared = std::make_shared<const ObservedSet>(set);
    ready.show(shared, ObservedOverlay::sample(*shared, g));
    ready.update(g);
    EXPECT_EQ(ready.usedPoints(), o.usedPoints());
    EXPECT_EQ(ready.pixels(), o.pixels());
    EXPECT_EQ(ready.caption(), o.caption());
}

// The eclipse of a thinned set is found on an even sample of its points, one in each run of
// `step` from the first: here every other point, whose dip is at 0.3; the others dip at 0.6.
TEST(LargeSets, TheMinimumOfAThinnedSetIsThatOfAnEvenSampleFromTheFirst) {
    ObservedData d;
    d.phased = true;
    d.brightness = Brightness::Flux;
    const std::size_t n = 2 * ObservedOverlay::MaxUsedPoints;
    for (std::size_t i = 0; i < n; ++i) {
        const double phase = static_cast<double>(i / 2) / static_cast<double>(n / 2);
        const double dip = i % 2 == 0 ? 0.3 : 0.6;
        d.time.push_back(phase);
        d.value.push_back(std::abs(phase - dip) < 0.02 ? 0.5 : 1);
    }
    const ObservedSet set = prepareObserved(d);
    const ObservedOverlay::Sample s = ObservedOverlay::sample(set, {1, 1, 1, 100, 0, 300, 0});
    ASSERT_TRUE(s.thinned);
    EXPECT_NEAR(s.observedMinimum, 0.3, 0.005);
}

class HostileFile : public ::testing::Test {
protected:
    HostileFile() : dir(std::filesystem::temp_directory_path() / "orvanta_hostile_test") {
        std::filesystem::create_directories(dir);
    }
    ~HostileFile() override { std::filesystem::remove_all(dir); }
    std::string refusal(const std::string& path) {
        try {
            readObserved(path, "f");
        } catch (const DataFileError& e) {
            return e.what();
        }
        return "accepted";
    }
    std::filesystem::path dir;
};

TEST_F(HostileFile, RefusedEarlyWithOneMessage) {
    EXPECT_EQ(refusal("/dev/zero"), "this is not a regular file");
    const std::string line = (dir / "line.txt").string();
    std::ofstream(line) << "1 2\n2 2\n" << std::string(100'000, '7');
    EXPECT_EQ(refusal(line), "a line is longer than 64 KiB; this is not a table of rows");
    const std::string text = (dir / "text.txt").string();
    {
        std::ofstream out(text);
        for (int i = 0; i < 5000; ++i)
            out << i << " bright\n";
    }
    EXPECT_EQ(refusal(text), "line 1: no row could be read in the first 1000 (the brightness "
                             "is not a number)");
    // A thousand bad rows first are refused, good rows after them or not; 999 are skipped.
    auto badFirst = [](int bad) {
        std::string t = "t mag\n";
        for (int i = 0; i < bad; ++i)
            t += std::to_string(i) + " bright\n";
        return t + "2000 1\n2001 1\n2002 1\n";
    };
    EXPECT_THROW(parseObserved(badFirst(1000), "late.txt"), DataFileError);
    EXPECT_EQ(parseObserved(badFirst(999), "late.txt").time.size(), 3u);
    const std::string binary = (dir / "late.txt").string();
    {
        std::ofstream out(binary, std::ios::binary);
        for (int i = 0; i < 20000; ++i)
            out << i << " 2.5\n";
        out << std::string("\0\0\0", 3);
    }
    EXPECT_EQ(refusal(binary), "this is not a text file (it holds binary data)");
}

TEST_F(HostileFile, TooManyRowsAreRefusedAtTheFirstRowAndJustEnoughAccepted) {
    // With a limit of 20 000 rows: comments, blank lines and the header are no rows; a
    // skipped row is one.
    ObservedOptions options;
    options.maxRows = 20'000;
    auto write = [&](const std::string& file, int rows, bool overlongLate, bool bom = false) {
        const std::string path = (dir / file).string();
        std::ofstream out(path, std::ios::binary);
        if (bom) out << "\xEF\xBB\xBF";
        out << "# period = 1.5 d\nHJD,V,err\n";
        for (int i = 0; i < rows; ++i) {
            if (i == 10 || i == 15'000) out << "\n  # a note\r\n";
            if (i == 5000 && overlongLate) out << std::string(100'000, '7') << "\n";
            out << 2459000 + 0.01 * i << "," << (i == 7 ? "bright" : "9.5") << ",0.01\n";
        }
        return path;
    };
    auto read = [&](const std::string& path) -> std::string {
        try {
            return std::to_string(readObserved(path, "f", options).time.size()) + " points";
        } catch (const DataFileError& e) {
            return e.what();
        }
    };
    EXPECT_EQ(read(write("enough.csv", 20'000, false)), "19999 points");
    // Row 20 001 is line 2 + 20 001 + 4 (two blank lines and two comments).
    EXPECT_EQ(read(write("over.csv", 20'001, false)), "line 20007: more than 20000 rows");
    // Counted before they are parsed: the overlong line at row 5000 (a row too) is never
    // reached.
    EXPECT_EQ(read(write("late.csv", 30'000, true)), "line 20007: more than 20000 rows");
    // A byte-order mark before the first line moves no line.
    EXPECT_EQ(read(write("bom.csv", 20'000, false, true)), "19999 points");
    EXPECT_EQ(read(write("bom-over.csv", 20'001, false, true)), "line 20007: more than 20000 rows");
    // Rows as short as rows can be, a character and a line end, the last without one: the
    // rows past the limit are still counted ahead, before a thousand unreadable ones stop
    // the reading.
    {
        const std::string path = (dir / "short-rows.txt").string();
        std::ofstream(path, std::ios::binary) << "t mag\n"
                                              << [] {
                                                     std::string rows;
                                                     for (int i = 0; i < 1500; ++i)
                                                         rows += "x\n";
                                                     return rows + "x";
                                                 }();
        options.maxRows = 1500;
        EXPECT_EQ(read(path), "line 1502: more than 1500 rows");
    }
    // The text reader and its rule for rows without a file.
    std::string text = "t mag\n";
    for (int i = 0; i < 5; ++i)
        text += std::to_string(i) + " 1\n";
    options.maxRows = 4;
    EXPECT_THROW(parseObserved(text, "x", options), DataFileError);
    options.maxRows = 5;
    EXPECT_EQ(parseObserved(text, "x", options).time.size(), 5u);
}

} // namespace
