// SPDX-License-Identifier: GPL-3.0-or-later
// `orvanta period`: its options, its JSON, its exit statuses, and the built program
// answering without a display.
#include "cli/curve_command.h"
#include "cli/period_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include <sys/wait.h>

namespace orvanta::cli {
namespace {

namespace fs = std::filesystem;

struct Ran {
    int status;
    std::string out, err;
};

Ran run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = runPeriodCommand(args, out, err);
    return {status, out.str(), err.str()};
}

// A usage error is one line whatever the argument holds, in every subcommand that shares
// the rule with `orvanta curve`.
TEST(PeriodUsage, AnArgumentWithControlCharactersStaysOnOneLine) {
    const Ran r = run({"--min-days", "x\ny\x1b"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(r.err.find('\x1b'), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("(see 'orvanta period --help')"), std::string::npos) << r.err;
}

/// A teaching file with its period and epoch lines taken out, in a fresh folder.
class PeriodFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("orvanta_period_test_" +
               std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        std::ifstream in(ORVANTA_SOURCE_DIR "/data/twins.csv");
        std::ofstream out(dir / "twins.csv");
        for (std::string line; std::getline(in, line);)
            if (line.rfind("# period", 0) != 0 && line.rfind("# epoch", 0) != 0)
                out << line << '\n';
    }
    void TearDown() override { fs::remove_all(dir); }
    [[nodiscard]] std::string file(const char* name = "twins.csv") const {
        return (dir / name).string();
    }
    fs::path dir;
};

TEST(PeriodArguments, ReadsTheOptionsAndRefusesWhatItCannotFollow) {
    PeriodRequest r =
        parsePeriodArguments({"a.txt", "--min-days", "0.5", "--max-days=9", "--json"});
    EXPECT_EQ(r.file, "a.txt");
    EXPECT_DOUBLE_EQ(*r.minDays, 0.5);
    EXPECT_DOUBLE_EQ(*r.maxDays, 9);
    EXPECT_TRUE(r.json);
    EXPECT_EQ(parsePeriodArguments({"--", "-odd name"}).file, "-odd name");
    EXPECT_EQ(parsePeriodArguments({"x", "--help"}).action, PeriodRequest::Action::Help);

    for (const std::vector<std::string>& bad : {std::vector<std::string>{},
                                                {"a", "b"},
                                                {"a", "--min-days"},
                                                {"a", "--min-days", "0"},
                                                {"a", "--max-days", "1,5"},
                                                {"a", "--min-days", "nan"},
                                                {"a", "--bogus"},
                                                {"a", "--min-days", "3", "--max-days", "2"}}) {
        const Ran ran = run(bad);
        EXPECT_EQ(ran.status, 2);
        EXPECT_EQ(ran.out, "");
        // One line on standard error.
        EXPECT_EQ(std::count(ran.err.begin(), ran.err.end(), '\n'), 1) << ran.err;
        EXPECT_EQ(ran.err.rfind("orvanta period: ", 0), 0U) << ran.err;
    }
}

TEST_F(PeriodFile, JsonHasTheKeysAndFindsTheOrbitOfTheTwins) {
    const Ran ran = run({file(), "--json"});
    ASSERT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ran.err, "");
    const std::string& j = ran.out;
    for (const char* key : {"\"period_days\": ", "\"period_error_days\": ", "\"epoch\": ",
                            "\"method\": \"", "\"peaks\": [[", "\"minima\": ["})
        EXPECT_NE(j.find(key), std::string::npos) << key;
    EXPECT_EQ(j.front(), '{');
    EXPECT_EQ(j.substr(j.size() - 2), "}\n");
    EXPECT_EQ(std::count(j.begin(), j.end(), '\n'), 1);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(j, m, std::regex("\"period_days\": ([0-9.e-]+)")));
    // The file was made with a period of 1.161730 d; its eclipses look alike, and the
    // period found is the orbit's, not half of it.
    EXPECT_NEAR(std::stod(m[1]) / 1.161730, 1, 1e-4);
    ASSERT_TRUE(std::regex_search(j, m, std::regex("\"epoch\": ([0-9.e-]+)")));
    const double cycles = (std::stod(m[1]) - 2459400.74146) / (1.161730 / 2);
    EXPECT_NEAR(cycles, std::round(cycles), 0.01);
    // Peaks are [period, score] pairs, the period found first.
    ASSERT_TRUE(
        std::regex_search(j, m, std::regex("\"peaks\": \\[\\[([0-9.e-]+), ([0-9.e-]+)\\]")));
    EXPECT_EQ(j.find("\"period_days\": " + m[1].str()), 0U + 1);
}

TEST_F(PeriodFile, TextNamesThePeriodAndTheRangeNarrowsTheSearch) {
    Ran ran = run({file()});
    ASSERT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ran.out.rfind("period 1.161", 0), 0U) << ran.out;
    EXPECT_NE(ran.out.find("uncertain: 0.580"), std::string::npos) << ran.out;
    // The orbit left out of the range: something else in it.
    ran = run({file(), "--min-days", "2", "--max-days", "10", "--json"});
    ASSERT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ran.out.find("\"period_days\": 1.16"), std::string::npos);
}

// The eccentric orbit's file, whose nights miss the secondary eclipse: its own period,
// and twice it named as the other candidate for two equal eclipses.
TEST_F(PeriodFile, AnEclipseNeverObservedLeavesTwiceThePeriodAsTheAlternative) {
    {
        std::ifstream in(ORVANTA_SOURCE_DIR "/data/eccentric.txt");
        std::ofstream out(file("eccentric.txt"));
        for (std::string line; std::getline(in, line);)
            if (line.rfind("# period", 0) != 0) out << line << '\n';
    }
    const Ran ran = run({file("eccentric.txt")});
    ASSERT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ran.out.rfind("period 5.767", 0), 0U) << ran.out;
    EXPECT_NE(ran.out.find("uncertain: 11.535"), std::string::npos) << ran.out;
    EXPECT_NE(ran.out.find("(if the two eclipses are alike)"), std::string::npos) << ran.out;
}

TEST_F(PeriodFile, FilesItCannotSearchExitWithOneLine) {
    std::ofstream(file("phased.txt")) << "phase mag\n0.1 5\n0.2 6\n";
    std::ofstream(file("short.txt")) << "1 5\n2 6\n3 5\n";
    std::ofstream(file("flat.txt")) << [] {
        std::string rows;
        for (int i = 0; i < 100; ++i)
            rows += std::to_string(2459000 + 0.37 * i) + " 7.5\n";
        return rows;
    }();
    for (const char* name : {"missing.txt", "phased.txt", "short.txt", "flat.txt"}) {
        const Ran ran = run({file(name)});
        EXPECT_EQ(ran.status, 2) << name;
        EXPECT_EQ(ran.out, "");
        EXPECT_EQ(std::count(ran.err.begin(), ran.err.end(), '\n'), 1) << ran.err;
        EXPECT_NE(ran.err.find(file(name)), std::string::npos) << ran.err;
    }
}

#ifdef ORVANTA_BINARY
TEST_F(PeriodFile, TheProgramAnswersWithoutADisplay) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "
                                "QT_DEBUG_PLUGINS=1 '" ORVANTA_BINARY "' period '" +
                                file() + "' --json >'" + file("out") + "' 2>'" + file("err") + "'";
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 0);
    std::ifstream out(file("out")), err(file("err"));
    const std::string o((std::istreambuf_iterator<char>(out)), {});
    const std::string e((std::istreambuf_iterator<char>(err)), {});
    EXPECT_EQ(e, ""); // no platform plugin was looked for
    EXPECT_EQ(o, run({file(), "--json"}).out);
}
#endif

} // namespace
} // namespace orvanta::cli
