// SPDX-License-Identifier: GPL-3.0-or-later
// `orvanta curve`: its options, its errors and exit statuses, and its output against the
// window's table for the same boxes.
#include "cli/atomic_file.h"
#include "cli/curve_command.h"
#include "form1.h"
#include "render/curve_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

namespace orvanta::cli {
namespace {

namespace fs = std::filesystem;

struct Result {
    int status;
    std::string out, err;
};

Result run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = runCurveCommand(args, out, err);
    return {status, out.str(), err.str()};
}

/// The window's table of a design-time window whose boxes `edit` changes.
template <class Edit> std::string windowCsv(Edit&& edit) {
    auto f = std::make_unique<Form1>();
    edit(*f);
    return CurveCsv(LightCurveTable(*f));
}

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// A fresh folder for one test, removed after it.
class TempDir : public ::testing::Test {
protected:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "orvanta-cli-XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
    }
    ~TempDir() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST(CurveCommand, WithoutOptionsGivesTheWindowsDefaultTable) {
    const Result r = run({});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, windowCsv([](Form1&) {}));
}

TEST(CurveCommand, OptionsFillTheBoxesTheWindowWouldHold) {
    const Result r = run({"--mass-a=2", "--radius-b", "1.5", "--temperature-a", "6000",
                          "--luminosity-b", "3.8E26", "--distance", "12", "--eccentricity", "0.2",
                          "--incline1", "10", "--incline2", "0", "--incline3=30", "--steps", "50"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, windowCsv([](Form1& f) {
                  f.Text7.Text = "2";
                  f.Text10.Text = "1.5";
                  f.List1.TopIndex = 2;
                  f.Text11.Text = "6000";
                  f.List2.TopIndex = 1;
                  f.Text12.Text = "3.8E26";
                  f.Text1.Text = "12";
                  f.Text3.Text = "0.2";
                  f.Text4.Text = "10";
                  f.Text5.Text = "0";
                  f.Text6.Text = "30";
                  f.Text2.Text = "50";
              }));
}

TEST(CurveCommand, PresetAndMagnitudeAsInTheWindow) {
    const Result r = run({"--preset-a", "g5v", "--magnitude-b", "4.8", "--temperature-b", "5800"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, windowCsv([](Form1& f) {
                  f.ComboPicked(f.Combo1, 9);
                  f.ListScrolled(f.List2, 3);
                  f.Text12.Text = "4.8";
                  f.Text17.Text = "5800";
              }));
    EXPECT_NE(r.out.find("Spectral Type of StarA = G5V; TemperatureA / K = 5500;"),
              std::string::npos);
}

struct Misuse {
    const char* name;
    std::vector<std::string> args;
    const char* message;
};

void PrintTo(const Misuse& m, std::ostream* os) {
    *os << m.name;
}

class UsageErrors : public ::testing::TestWithParam<Misuse> {};

TEST_P(UsageErrors, GiveOneLineAndStatus2) {
    const Result r = run(GetParam().args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, std::string("orvanta curve: ") + GetParam().message +
                         " (see 'orvanta curve --help')\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UsageErrors,
    ::testing::Values(
        Misuse{"unknown", {"--mass-c", "1"}, "unknown option '--mass-c'"},
        Misuse{"positional", {"extra"}, "unexpected argument 'extra'"},
        Misuse{"noValue", {"--mass-a"}, "option '--mass-a' needs a value"},
        Misuse{"readInPart", {"--mass-a", "1,5"}, "--mass-a: '1,5' is not a number"},
        Misuse{"empty", {"--distance="}, "--distance: '' is not a number"},
        Misuse{"text", {"--steps", "many"}, "--steps: 'many' is not a number"},
        Misuse{"twoLights",
               {"--flux-b", "1", "--temperature-b", "5000"},
               "give one of --flux-b, --luminosity-b, --temperature-b and --magnitude-b (with "
               "--temperature-b)"},
        Misuse{"magnitudeAlone", {"--magnitude-a", "4"}, "--magnitude-a needs --temperature-a"},
        Misuse{"presetAndMass",
               {"--preset-b", "K0V", "--mass-b", "1"},
               "--preset-b sets the mass, radius and temperature of star B; leave out the other "
               "options of star B"},
        Misuse{"unknownType",
               {"--preset-a", "G2V"},
               "--preset-a: unknown spectral type 'G2V' (one of O5V B0V B5V A0V A5V F0V F5V G0V "
               "G5V K0V K5V M0V M5V M8V)"},
        Misuse{"noFileName", {"-o", ""}, "option '-o' needs a file name"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(CurveCommand, HelpListsEveryOptionWithItsUnitAndWins) {
    const Result r = run({"--mass-c", "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    for (const char* part : {"Usage: orvanta curve [OPTION]...",
                             "--mass-a M",
                             "solar masses [3.59]",
                             "--radius-a R",
                             "solar radii [2.88]",
                             "--flux-a F",
                             "W/m^2 [1181952000]",
                             "--luminosity-a L",
                             "luminosity, W",
                             "--temperature-a T",
                             "K\n",
                             "--magnitude-a MV",
                             "--preset-a TYPE",
                             "O5V B0V",
                             "end in -b",
                             "--distance D",
                             "[15]",
                             "--eccentricity E",
                             "-1 < E < 1 [0]",
                             "--incline1 DEG",
                             "degrees [-7.69]",
                             "--incline3 DEG",
                             "--steps N",
                             "[100]",
                             "-o, --output FILE",
                             "--version",
                             "Exit status: 0"})
        EXPECT_NE(r.out.find(part), std::string::npos) << part;
    EXPECT_EQ(run({"-h"}).out, r.out);
}

TEST(CurveCommand, VersionIsTheBuildsVersion) {
    const Result r = run({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "orvanta " ORVANTA_VERSION "\n");
}

TEST(CurveCommand, RunTimeErrorIsTheErrorWindowsTextWithStatus2) {
    const Result r = run({"--mass-a", "0", "--mass-b", "0"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Run-time error '11':\nDivision by zero\n");
    auto f = std::make_unique<Form1>();
    f->Text7.Text = "0";
    f->Text8.Text = "0";
    f->Run([&] { f->Plot_Click(); });
    EXPECT_EQ(r.err, f->ErrorText + "\n");
    // A number beyond the double range is taken, and overflows as the box would.
    EXPECT_EQ(run({"--distance", "1e999"}).err, "Run-time error '6':\nOverflow\n");
}

TEST(CurveCommand, AFailedWriteToStandardOutputIsReported) {
    std::ostringstream out, err;
    out.setstate(std::ios::badbit);
    EXPECT_EQ(runCurveCommand({}, out, err), 2);
    EXPECT_EQ(err.str(), "orvanta curve: cannot write to standard output\n");
}

using OutputFile = TempDir;

TEST_F(OutputFile, HoldsExactlyWhatStandardOutputWould) {
    const fs::path file = dir / "curve.csv";
    const Result r = run({"--output", file.string(), "--eccentricity", "0.3"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(readFile(file), run({"--eccentricity", "0.3"}).out);
    // Replaced whole, with the usual permissions and no temporary file left.
    ASSERT_EQ(run({"-o", file.string()}).status, 0);
    EXPECT_EQ(readFile(file), run({}).out);
    EXPECT_NE(fs::status(file).permissions() & fs::perms::owner_read, fs::perms::none);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(OutputFile, IsLeftAsItWasOnAnyError) {
    const fs::path file = dir / "curve.csv";
    std::ofstream(file) << "earlier\n";
    EXPECT_EQ(run({"-o", file.string(), "--mass-a", "0", "--mass-b", "0"}).status, 2);
    EXPECT_EQ(run({"-o", file.string(), "--mass-a", "x"}).status, 2);
    EXPECT_EQ(readFile(file), "earlier\n");

    const fs::path missing = dir / "no-such-folder" / "curve.csv";
    const Result r = run({"-o", missing.string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "orvanta curve: cannot write '" + missing.string() +
                         "': No such file or directory\n");
    // A folder in the way: the rename fails and the temporary file goes.
    fs::create_directory(dir / "taken");
    EXPECT_NE(writeFileAtomically((dir / "taken").string(), "x"), "");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

#ifdef ORVANTA_BINARY
/// Runs the built program with no display and a platform plugin that would fail to load.
Result runBinary(const std::string& args, const fs::path& dir) {
    const fs::path out = dir / "stdout", err = dir / "stderr";
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "
                                "QT_DEBUG_PLUGINS=1 '" ORVANTA_BINARY "' curve " +
                                args + " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(out), readFile(err)};
}

using Binary = TempDir;

TEST_F(Binary, RunsWithoutADisplayAndExitsWithTheDocumentedStatuses) {
    Result r = runBinary("--incline2 0", dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, ""); // no platform plugin was looked for
    EXPECT_EQ(r.out, run({"--incline2", "0"}).out);

    r = runBinary("--mass-a 0 --mass-b 0 -o '" + (dir / "c.csv").string() + "'", dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Run-time error '11':\nDivision by zero\n");
    EXPECT_FALSE(fs::exists(dir / "c.csv"));

    r = runBinary("--bogus", dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "orvanta curve: unknown option '--bogus' (see 'orvanta curve --help')\n");

    r = runBinary("--version", dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "orvanta " ORVANTA_VERSION "\n");
}
#endif

} // namespace
} // namespace orvanta::cli
