// SPDX-License-Identifier: GPL-3.0-or-later
// Reading observed light curves: every separator, header and comment form, and the files
// that cannot be used, each refused with one message naming its line.
#include "core/observed_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

using namespace orvanta;

namespace {

struct Form {
    const char* label;
    std::string text;
};

void PrintTo(const Form& f, std::ostream* os) {
    *os << f.label;
}

class Separators : public ::testing::TestWithParam<Form> {};

TEST_P(Separators, GiveTheSameThreeRows) {
    const ObservedData d = parseObserved(GetParam().text, "x.txt");
    ASSERT_EQ(d.time.size(), 3u);
    EXPECT_EQ(d.time[0], 2459000.5);
    EXPECT_EQ(d.time[2], 2459000.75);
    EXPECT_EQ(d.value[1], -2.25);
    EXPECT_EQ(d.skipped, 0u);
    EXPECT_FALSE(d.phased);
    EXPECT_EQ(d.brightness, Brightness::Magnitude);
}

INSTANTIATE_TEST_SUITE_P(
    Observed, Separators,
    ::testing::Values(
        Form{"comma", "2459000.5,2.1\n2459000.625,-2.25\n2459000.75,2.3\n"},
        Form{"semicolon", "2459000.5;2.1\n2459000.625;-2.25\n2459000.75;2.3\n"},
        Form{"tab", "2459000.5\t2.1\n2459000.625\t-2.25\n2459000.75\t2.3\n"},
        Form{"blanks", "  2459000.5   2.1\n2459000.625 -2.25\n2459000.75\t 2.3  \n"},
        Form{"crlf, blank lines, comments, plus signs",
             "# V band\r\n\r\n2459000.5 , +2.1\r\n# note\r\n2459000.625,-2.25\r\n"
             "2459000.75,2.3"},
        Form{"quoted", "\"2459000.5\",\"2.1\"\n2459000.625,\"-2.25\"\n\"2459000.75\",2.3\n"},
        Form{"byte order mark", "\xEF\xBB\xBF"
                                "2459000.5 2.1\n2459000.625 -2.25\n2459000.75 2.3\n"}),
    [](const auto& p) {
        std::string s = p.param.label;
        for (char& c : s)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return s;
    });

TEST(ObservedHeader, ExportedCurvePicksPhaseAndMagnitudeAndIgnoresTheRest) {
    const ObservedData d = parseObserved("# Orvanta light curve\n"
                                         "# period = 2.86730000000001 d\n"
                                         "phase,time_days,power_w,magnitude,eclipse\n"
                                         "0,0,5.9E+28,-0.25,none\n"
                                         "0.5,1.43,2.1E+28,0.87,A in front\n"
                                         "1,2.87,5.9E+28,-0.25,B in front\n",
                                         "curve.csv");
    EXPECT_TRUE(d.phased);
    EXPECT_EQ(d.brightness, Brightness::Magnitude);
    ASSERT_EQ(d.time.size(), 3u);
    EXPECT_EQ(d.time[1], 0.5);
    EXPECT_EQ(d.value[1], 0.87);
    EXPECT_TRUE(d.error.empty());
    ASSERT_TRUE(d.period);
    EXPECT_EQ(*d.period, 2.86730000000001);
    EXPECT_FALSE(d.epoch);
}

TEST(ObservedHeader, AQuoteInAQuotedNameIsWrittenTwice) {
    const ObservedData d = parseObserved("\"time \"\"JD\"\"\",\"mag\"\"\",\"\"\"err\"\n"
                                         "2459000.5,10.25,0.01\n2459000.75,10.5,0.02\n"
                                         "2459001,10.75,0.03\n",
                                         "quoted.csv");
    EXPECT_EQ(d.timeColumn, "time \"JD\"");
    EXPECT_EQ(d.brightnessColumn, "mag\"");
    EXPECT_EQ(d.errorColumn, "\"err");
    ASSERT_EQ(d.value.size(), 3u);
    EXPECT_EQ(d.value[1], 10.5);
}

TEST(ObservedHeader, NamesInAnyOrderWithUnitsAndAnErrorColumn) {
    const ObservedData d = parseObserved("# epoch: 2459000.1234\n"
                                         "Sigma;Rel. Flux;HJD (days)\n"
                                         "0.01;0.98;2459000.1\n"
                                         "0.02;0.5;2459000.2\n"
                                         "0.01;1.01;2459000.3\n",
                                         "x");
    EXPECT_FALSE(d.phased);
    EXPECT_EQ(d.brightness, Brightness::Flux);
    EXPECT_EQ(d.time[1], 2459000.2);
    EXPECT_EQ(d.value[1], 0.5);
    ASSERT_EQ(d.error.size(), 3u);
    EXPECT_EQ(d.error[1], 0.02);
    EXPECT_EQ(*d.epoch, 2459000.1234);
}

TEST(ObservedHeader, PowerInWattsAndAThirdUnnamedColumnWithoutHeader) {
    const ObservedData p = parseObserved("time power\n1 4E+28\n2 5E+28\n3 5E+28\n", "x");
    EXPECT_EQ(p.brightness, Brightness::Power);
    const ObservedData e = parseObserved("1 2.0 0.01\n2 2.1 0.02\n3 2.0 0.01\n", "x");
    ASSERT_EQ(e.error.size(), 3u);
    EXPECT_EQ(e.error[2], 0.01);
}

TEST(ObservedHeader, TheFirstColumnOfARoleIsReadAndMagnitudeBeforeFlux) {
    // A comparison star's magnitude and a relative flux beside the variable's magnitude.
    const ObservedData d = parseObserved("HJD,V mag,Comp mag,Rel flux\n"
                                         "1,2.1,3.5,0.9\n"
                                         "2,2.2,3.5,0.8\n"
                                         "3,2.1,3.5,0.9\n",
                                         "x");
    EXPECT_EQ(d.brightness, Brightness::Magnitude);
    EXPECT_EQ(d.value[1], 2.2);
}

TEST(ObservedRows, UnreadableRowsAreSkippedAndCountedWithTheirLines) {
    const ObservedData d = parseObserved("1 2.0\n"
                                         "2 nan\n"
                                         "3 inf\n"
                                         "4 bright\n"
                                         "5\n"
                                         "6 2.1\n"
                                         "7 1,5\n"
                                         "8 2.2\n",
                                         "x");
    EXPECT_EQ(d.time.size(), 3u);
    EXPECT_EQ(d.skipped, 5u);
    EXPECT_EQ(d.skippedLines, (std::vector<std::size_t>{2, 3, 4, 5, 7}));
}

TEST(ObservedRows, NegativeErrorsAndNonPositiveFluxesAreSkipped) {
    const ObservedData d =
        parseObserved("t,flux,err\n1,1,0.1\n2,0,0.1\n3,-1,0.1\n4,1,-0.1\n5,1,0\n6,2,0\n", "x");
    EXPECT_EQ(d.time.size(), 3u);
    EXPECT_EQ(d.skipped, 3u);
}

TEST(ObservedRows, PhasesNeedNotIncrease) {
    const ObservedData d = parseObserved("phase mag\n0.5 1\n0.1 2\n0.1 3\n", "x");
    EXPECT_EQ(d.time.size(), 3u);
}

TEST(ObservedRows, RowsOutOfOrderAreSortedWithEqualTimesInFileOrder) {
    const ObservedData d = parseObserved("1 2\n3 2\n2 2\n", "x");
    EXPECT_EQ(d.time, (std::vector<double>{1, 2, 3}));
    EXPECT_TRUE(d.sorted);
    // A survey's rows grouped by filter: times restart; equal times keep their order.
    const ObservedData e = parseObserved("HJD,mag,err\n5,1.0,0.1\n7,1.1,0.2\n5,1.2,0.3\n"
                                         "6,1.3,0.4\n5,1.4,0.5\n",
                                         "x");
    EXPECT_EQ(e.time, (std::vector<double>{5, 5, 5, 6, 7}));
    EXPECT_EQ(e.value, (std::vector<double>{1.0, 1.2, 1.4, 1.3, 1.1}));
    EXPECT_EQ(e.error, (std::vector<double>{0.1, 0.3, 0.5, 0.4, 0.2}));
    EXPECT_FALSE(parseObserved("1 2\n2 2\n3 2\n", "x").sorted);
}

TEST(ObservedRows, AMillionRowsAreRead) {
    std::string text = "HJD,mag\n";
    text.reserve(20'000'000);
    char row[64];
    for (int i = 0; i < 1'000'000; ++i) {
        std::snprintf(row, sizeof row, "%d.5,%d.25\n", 2400000 + i, i % 7);
        text += row;
    }
    const ObservedData d = parseObserved(text, "big.csv");
    EXPECT_EQ(d.time.size(), 1'000'000u);
    EXPECT_EQ(d.value.back(), 999999 % 7 + 0.25);
}

struct Bad {
    const char* label;
    std::string text;
    const char* message;
};

void PrintTo(const Bad& b, std::ostream* os) {
    *os << b.label;
}

class BadFiles : public ::testing::TestWithParam<Bad> {};

TEST_P(BadFiles, AreRefusedWithOneMessage) {
    try {
        parseObserved(GetParam().text, "x");
        FAIL() << "accepted";
    } catch (const DataFileError& e) {
        EXPECT_EQ(std::string(e.what()), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Observed, BadFiles,
    ::testing::Values(
        Bad{"empty", "", "the file holds no rows of numbers"},
        Bad{"only comments", "# period = 2 d\n\n# nothing\n", "the file holds no rows of numbers"},
        Bad{"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
            "this is not a text file (it holds binary data)"},
        Bad{"one column", "# a\n2459000.5\n2459000.6\n",
            "line 2: a row has one column; a time and a brightness column are needed"},
        Bad{"text everywhere", "1 a\n2 b\n3 c\n",
            "no row could be read (the first is line 1: the brightness is not a number)"},
        Bad{"header with more columns than the rows", "HJD V mag\n1 2\n2 2\n",
            "line 2: a row has 2 columns where 3 are needed; no row could be read"},
        Bad{"nan only", "1 nan\n2 -inf\n",
            "no row could be read (the first is line 1: the brightness is not a number)"},
        Bad{"two rows", "1 2\n2 3\n", "only 2 rows could be read; at least 3 are needed"},
        Bad{"duplicated", "HJD mag\n1.5 2\n1.5 2\n",
            "only 2 rows could be read; at least 3 are needed"},
        Bad{"zero period", "# period = 0 d\n1 2\n", "line 1: the period must be more than 0 days"},
        Bad{"negative period", "\n# Period: -2.5\n1 2\n",
            "line 2: the period must be more than 0 days"},
        Bad{"period in hours", "# period = 60 h\n1 2\n",
            "line 1: the period must be given in days (\"d\")"},
        Bad{"period not a number", "# period = soon\n1 2\n",
            "line 1: the period is not a number of days"},
        Bad{"no time column", "mag,flux\n1,2\n",
            "line 1: the header names no time column "
            "(time, HJD, JD, BJD, date, day or phase)"},
        Bad{"no brightness column", "HJD,airmass\n1,2\n",
            "line 1: the header names no brightness column (magnitude, mag, flux or power)"}),
    [](const auto& p) {
        std::string s = p.param.label;
        for (char& c : s)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return s;
    });

// One unreadable row is enough for the message that names it; a file with no row at all
// says so instead.
TEST(BadFile, WithASingleUnreadableRowNamesItsLine) {
    for (const auto& [text, message] :
         {std::pair{"HJD mag\n1 x\n",
                    "no row could be read (the first is line 2: the brightness is not a number)"},
          std::pair{"1 x\n",
                    "no row could be read (the first is line 1: the brightness is not a number)"},
          std::pair{"HJD V mag\n1 2\n",
                    "line 2: a row has 2 columns where 3 are needed; no row could be read"},
          std::pair{"HJD mag\n", "the file holds no rows of numbers"}}) {
        try {
            parseObserved(text, "x");
            ADD_FAILURE() << "accepted: " << text;
        } catch (const DataFileError& e) {
            EXPECT_EQ(std::string(e.what()), message) << text;
        }
    }
}

class ObservedFiles : public ::testing::Test {
protected:
    ObservedFiles() : dir(std::filesystem::temp_directory_path() / "orvanta_observed_test") {
        std::filesystem::create_directories(dir);
    }
    ~ObservedFiles() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
};

TEST_F(ObservedFiles, ANameWithNonAsciiCharactersIsRead) {
    const std::filesystem::path p = dir / "Algol \xC3\xA9toile \xCE\xB2 Per.txt";
    std::ofstream(p) << "1 2\n2 3\n3 2\n";
    const ObservedData d = readObserved(p.string(), p.filename().string());
    EXPECT_EQ(d.time.size(), 3u);
    EXPECT_EQ(d.name, "Algol \xC3\xA9toile \xCE\xB2 Per.txt");
}

TEST_F(ObservedFiles, AFileGoneBeforeReadingOrAFolderIsRefused) {
    const std::filesystem::path p = dir / "gone.txt";
    std::ofstream(p) << "1 2\n2 3\n3 2\n";
    std::filesystem::remove(p);
    try {
        readObserved(p.string(), "gone.txt");
        FAIL();
    } catch (const DataFileError& e) {
        EXPECT_EQ(std::string(e.what()), "the file cannot be opened (No such file or directory)");
    }
    try {
        readObserved(dir.string(), "dir");
        FAIL();
    } catch (const DataFileError& e) {
        EXPECT_EQ(std::string(e.what()), "this is a folder, not a file");
    }
}

// A file tells how many rows it skipped and names the lines of the first five.
TEST(ObservedData, NamesTheLinesOfTheFirstFiveRowsSkipped) {
    std::string text = "t mag\n";
    for (int i = 0; i < 20; ++i)
        text += std::to_string(i) + (i % 2 ? " x\n" : " 1\n");
    const ObservedData d = parseObserved(text, "skips.txt");
    EXPECT_EQ(d.skipped, 10u);
    EXPECT_EQ(d.skippedLines, (std::vector<std::size_t>{3, 5, 7, 9, 11}));
}

} // namespace
