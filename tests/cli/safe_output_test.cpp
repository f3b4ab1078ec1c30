// SPDX-License-Identifier: GPL-3.0-or-later
// The file writer of `orvanta curve -o` and of the window's saves: through links, keeping
// permissions, refusing what is not a file, nothing left after a kill; and the front door
// of the built program.
#include "cli/atomic_file.h"
#include "cli/curve_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvanta::cli {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

mode_t permissions(const fs::path& p) {
    struct stat st {};
    EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
    return st.st_mode & 07777;
}

std::size_t entries(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

class SafeOutput : public ::testing::Test {
protected:
    SafeOutput() {
        std::string pattern = (fs::temp_directory_path() / "orvanta-out-XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
    }
    ~SafeOutput() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(SafeOutput, ALinkIsWrittenThroughAndAFileKeepsItsPermissions) {
    const fs::path target = dir / "target.csv", link = dir / "link.csv";
    { std::ofstream(target) << "old\n"; }
    ::chmod(target.c_str(), 0640);
    fs::create_symlink("target.csv", link); // relative, as users make them
    EXPECT_EQ(writeFileAtomically(link.string(), "new\n"), "");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(target), "new\n");
    EXPECT_EQ(permissions(target), 0640u);
    EXPECT_EQ(entries(dir), 2u);

    // A link to a name not there yet makes the file there; a chain of links is followed.
    const fs::path chain = dir / "chain.csv", dangling = dir / "dangling.csv";
    fs::create_symlink("later.csv", dangling);
    fs::create_symlink(dangling, chain);
    EXPECT_EQ(writeFileAtomically(chain.string(), "x"), "");
    EXPECT_EQ(readFile(dir / "later.csv"), "x");
    EXPECT_TRUE(fs::is_symlink(chain) && fs::is_symlink(dangling));

    // A new file gets the usual permissions, whatever the umask.
    const mode_t mask = ::umask(027);
    EXPECT_EQ(writeFileAtomically((dir / "new.csv").string(), "x"), "");
    ::umask(mask);
    EXPECT_EQ(permissions(dir / "new.csv"), 0640u);

    // A loop of links is refused.
    fs::create_symlink("loop-b", dir / "loop-a");
    fs::create_symlink("loop-a", dir / "loop-b");
    EXPECT_EQ(writeFileAtomically((dir / "loop-a").string(), "x"),
              "Too many levels of symbolic links");
}

TEST_F(SafeOutput, WhatIsNotARegularFileIsRefusedAndLeftAsItWas) {
    ::mkfifo((dir / "fifo").c_str(), 0600);
    EXPECT_EQ(writeFileAtomically((dir / "fifo").string(), "x"),
              "a FIFO (a pipe), not a regular file");
    fs::create_directory(dir / "folder");
    EXPECT_EQ(writeFileAtomically((dir / "folder").string(), "x"), "a folder, not a regular file");
    EXPECT_EQ(writeFileAtomically("/dev/null", "x"), "a device, not a regular file");
    // A link to a device is the device: the link stays.
    fs::create_symlink("/dev/null", dir / "null-link");
    EXPECT_EQ(writeFileAtomically((dir / "null-link").string(), "x"),
              "a device, not a regular file");
    EXPECT_TRUE(fs::is_symlink(dir / "null-link"));

    const fs::path socketPath = dir / "socket";
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.string().copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(writeFileAtomically(socketPath.string(), "x"), "a socket, not a regular file");
    ::close(s);

    EXPECT_EQ(writeFileAtomically("/proc/version", "x"),
              "a file of the kernel's /proc, not a place to save data");
    EXPECT_EQ(writeFileAtomically("/proc/orvanta-new", "x"),
              "a file of the kernel's /proc, not a place to save data");
    EXPECT_TRUE(fs::is_fifo(dir / "fifo") && fs::is_directory(dir / "folder"));
    EXPECT_EQ(entries(dir), 4u); // nothing beside them
}

TEST_F(SafeOutput, ALongLegalNameIsWrittenAndATooLongOneIsSaidSo) {
    const std::string name(254, 'n');
    EXPECT_EQ(writeFileAtomically((dir / name).string(), "x"), "");
    EXPECT_EQ(readFile(dir / name), "x");
    EXPECT_EQ(writeFileAtomically((dir / name).string(), "y"), ""); // replaced
    EXPECT_EQ(readFile(dir / name), "y");
    EXPECT_EQ(writeFileAtomically((dir / (name + "xx")).string(), "x"), "File name too long");
    EXPECT_EQ(entries(dir), 1u);
}

TEST_F(SafeOutput, AKillWhileWritingLeavesTheOldFileAndNothingElse) {
    const fs::path file = dir / "curve.csv";
    { std::ofstream(file) << "old\n"; }
    const std::string big(std::size_t{64} << 20, 'x'); // long enough to be killed midway
    for (const int signal : {SIGKILL, SIGTERM, SIGINT}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            writeFileAtomically(file.string(), big);
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ::kill(child, signal);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_EQ(entries(dir), 1u) << "signal " << signal;
        const std::string now = readFile(file);
        EXPECT_TRUE(now == "old\n" || now == big) << "signal " << signal; // whole, either one
    }
}

TEST(CurveArguments, DoubleDashEndsTheOptionsAndEqualsGivesAValue) {
    std::ostringstream out, err, plain, plainErr;
    EXPECT_EQ(runCurveCommand({"--mass-a=2", "--"}, out, err), 0) << err.str();
    EXPECT_EQ(runCurveCommand({"--mass-a", "2"}, plain, plainErr), 0);
    EXPECT_EQ(out.str(), plain.str());
    std::ostringstream out2, err2;
    EXPECT_EQ(runCurveCommand({"--", "--mass-a"}, out2, err2), 2);
    EXPECT_EQ(err2.str(),
              "orvanta curve: unexpected argument '--mass-a' (see 'orvanta curve --help')\n");
}

TEST(CurveArguments, ControlCharactersAreShownEscapedOnOneLine) {
    std::ostringstream out, err;
    EXPECT_EQ(runCurveCommand({"--bogus\nrm -rf\x1b[2J\t"}, out, err), 2);
    EXPECT_EQ(err.str(), "orvanta curve: unknown option '--bogus\\nrm -rf\\e[2J\\t' (see "
                         "'orvanta curve --help')\n");
    std::ostringstream out2, err2;
    EXPECT_EQ(runCurveCommand({"-o", "/no-such-folder\x01/curve.csv"}, out2, err2), 2);
    EXPECT_EQ(err2.str(), "orvanta curve: cannot write '/no-such-folder\\x01/curve.csv': No such "
                          "file or directory\n");
}

#ifdef ORVANTA_BINARY
struct Outcome {
    int status;
    std::string out, err;
};

/// Runs the built `orvanta` through the shell with `environment` before it.
Outcome runOrvanta(const fs::path& dir, const std::string& environment, const std::string& args) {
    const fs::path out = dir / "stdout", err = dir / "stderr";
    const std::string command = "env " + environment + " '" ORVANTA_BINARY "' " + args + " >'" +
                                out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    Outcome r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(out), readFile(err)};
    fs::remove(out);
    fs::remove(err);
    return r;
}

using FrontDoor = SafeOutput;

TEST_F(FrontDoor, TheCurveCommandLoadsNoQtLibrary) {
    const Outcome r = runOrvanta(dir, "LD_DEBUG=libs", "curve --incline2 0");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("libstdc++"), std::string::npos); // the loader did report
    EXPECT_EQ(r.err.find("libQt"), std::string::npos);
}

TEST_F(FrontDoor, TheWindowsCommandLineIsCheckedBeforeAnyDisplay) {
    const std::string noDisplay = "-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM";
    Outcome r = runOrvanta(dir, noDisplay, "--bogus");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "orvanta: unknown option '--bogus' (see 'orvanta --help')\n");
    r = runOrvanta(dir, noDisplay, "-platform");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "orvanta: Missing value after '-platform' (see 'orvanta --help')\n");
    r = runOrvanta(dir, noDisplay, "--version");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("orvanta " ORVANTA_VERSION "\nCopyright (C) ", 0), 0u);
    EXPECT_NE(r.out.find("License GPLv3+"), std::string::npos);
    r = runOrvanta(dir, noDisplay, "--help");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("Usage: orvanta [FILE]\n", 0), 0u);

    // No display at all, or one that cannot be opened: one sentence and status 2.
    r = runOrvanta(dir, noDisplay, "");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("orvanta: no display found; ", 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
    r = runOrvanta(dir, "-u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:9876", "");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("orvanta: the display could not be opened; ", 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
}
#endif

} // namespace
} // namespace orvanta::cli
