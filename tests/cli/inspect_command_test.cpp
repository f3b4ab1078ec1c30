// SPDX-License-Identifier: GPL-3.0-or-later
// `orvanta inspect`: the summary, the JSON object with its keys and formats, the points in
// time order and full days, and one line on standard error with status 2.
#include "cli/inspect_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using orvanta::cli::runInspectCommand;

struct Result {
    int status;
    std::string out, err;
};

Result run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = runInspectCommand(args, out, err);
    return {status, out.str(), err.str()};
}

std::string archive(const char* file) {
    return std::string(ORVANTA_SOURCE_DIR) + "/data/archive/" + file;
}

TEST(InspectCommand, JsonHasEveryKeyWithTheFormatsNamed) {
    const Result r = run({archive("kebc.txt"), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "{\"format\": \"kebc\", \"file\": \"kebc.txt\", \"target\": null, "
                     "\"time_column\": \"bjd\", \"brightness_column\": \"corr_flux\", "
                     "\"error_column\": \"corr_err\", \"brightness\": \"flux\", \"band\": null, "
                     "\"bands\": {}, \"time_system\": \"BJD\", \"time_offset\": 2400000, "
                     "\"points\": 400, \"skipped\": 0, \"skipped_reasons\": {}, "
                     "\"sorted\": false, \"period_days\": null, \"epoch\": null}\n");
    const Result z = run({archive("ztf.csv"), "--json", "--band", "ZR"});
    EXPECT_NE(z.out.find("\"format\": \"ztf\""), std::string::npos);
    EXPECT_NE(z.out.find("\"band\": \"zr\", \"bands\": {\"zg\": 177, \"zr\": 118}"),
              std::string::npos);
    EXPECT_NE(z.out.find("\"skipped_reasons\": {\"flagged in catflags\": 5}"), std::string::npos);
    EXPECT_NE(run({archive("tess.fits"), "--json"}).out.find("\"format\": \"tess-fits\""),
              std::string::npos);
    EXPECT_NE(run({archive("aavso.csv"), "--json"}).out.find("\"period_days\": 3.213677"),
              std::string::npos);
}

TEST(InspectCommand, PointsInTimeOrderAndFullDays) {
    const std::filesystem::path p =
        std::filesystem::temp_directory_path() / "orvanta_inspect_points.csv";
    std::ofstream(p) << "BTJD,pdcsap_flux,pdcsap_flux_err\n2.5,1.0,0.5\n1.5,0.9,\n2,1.1,0.25\n";
    const Result r = run({p.string(), "--points"});
    std::filesystem::remove(p);
    ASSERT_EQ(r.status, 2); // the empty error is no number in this layout
    EXPECT_EQ(r.out, "");
    std::ofstream(p)
        << "BTJD,pdcsap_flux,pdcsap_flux_err\n2.5,1.0,0.5\n1.5,0.9,0.125\n2,1.1,0.25\n";
    const Result ok = run({p.string(), "--points"});
    std::filesystem::remove(p);
    ASSERT_EQ(ok.status, 0) << ok.err;
    EXPECT_EQ(ok.out, "time,brightness,error\n2457001.5,0.9,0.125\n2457002,1.1,0.25\n"
                      "2457002.5,1,0.5\n");
}

TEST(InspectCommand, FailuresGiveOneLineAndStatusTwo) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"/dev/zero"},
                                               {archive("ztf.csv"), "--band", "zz"},
                                               {archive("ztf.csv"), "--band"},
                                               {archive("ztf.csv"), "--frobnicate"},
                                               {"/nonexistent/file.csv"}}) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        EXPECT_TRUE(r.err.starts_with("orvanta inspect: ")) << r.err;
    }
    EXPECT_EQ(run({"/dev/zero"}).err, "orvanta inspect: /dev/zero: this is not a regular file\n");
    EXPECT_EQ(run({"--help"}).status, 0);
}

#ifdef ORVANTA_BINARY
TEST(InspectCommand, TheProgramRunsItWithoutADisplay) {
    const std::string command = std::string("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= ") +
                                ORVANTA_BINARY + " inspect " + archive("asas-sn.csv") +
                                " --json 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        out.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_TRUE(out.starts_with("{\"format\": \"asas-sn\"")) << out;
}
#endif

} // namespace
