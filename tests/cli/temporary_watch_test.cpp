// SPDX-License-Identifier: GPL-3.0-or-later
// The watcher of a temporary name: it removes the name when the process that made it ends
// first, and only while the name holds that process's file.
#include "cli/temporary_watch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvanta::cli {
namespace {

namespace fs = std::filesystem;

/// Runs `writer` in a process of its own, which is then killed outright (it says nothing
/// more to a watcher), and returns once that process and every watcher it started have
/// ended: they all hold the writing end of one pipe, which ends when the last of them does.
void killedAfter(const std::function<void()>& writer) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ends[0]);
        writer();
        ::kill(::getpid(), SIGKILL);
        ::_exit(1);
    }
    ::close(ends[1]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status));
    char c = 0;
    while (::read(ends[0], &c, 1) > 0) {}
    ::close(ends[0]);
}

/// A file of `text` at `name`, left open for the watcher to be told of.
int made(const fs::path& name, const std::string& text) {
    const int fd = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0600);
    if (fd >= 0 && !text.empty()) {
        [[maybe_unused]] const ssize_t n = ::write(fd, text.data(), text.size());
    }
    return fd;
}

class TemporaryWatchTest : public ::testing::Test {
protected:
    TemporaryWatchTest() {
        std::string pattern = (fs::temp_directory_path() / "orvanta-watch-XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
        name = dir / ".orvanta-test";
    }
    ~TemporaryWatchTest() override { fs::remove_all(dir); }
    fs::path dir, name;
};

TEST_F(TemporaryWatchTest, ItsFileIsRemovedWhenTheWriterIsKilled) {
    killedAfter([&] {
        auto* watch = new TemporaryWatch(name.string()); // never told it is done
        watch->own(made(name, "half of a curve"));
    });
    EXPECT_FALSE(fs::exists(name));
}

// Killed between making the file and telling the watcher: the file is still empty, and the
// watcher takes an empty file at its name for the writer's. One with data is another's.
TEST_F(TemporaryWatchTest, BeforeItIsToldOnlyAnEmptyFileIsTaken) {
    killedAfter([&] {
        new TemporaryWatch(name.string());
        made(name, "");
    });
    EXPECT_FALSE(fs::exists(name));

    { std::ofstream(name) << "another's"; }
    killedAfter([&] { new TemporaryWatch(name.string()); });
    EXPECT_TRUE(fs::exists(name));
}

// The name taken over by another file after the watcher was told: that file stays.
TEST_F(TemporaryWatchTest, AnotherFileAtTheNameIsLeft) {
    killedAfter([&] {
        auto* watch = new TemporaryWatch(name.string());
        watch->own(made(name, "mine"));
        const fs::path other = dir / "other";
        { std::ofstream(other) << "another's"; }
        fs::rename(other, name);
    });
    EXPECT_TRUE(fs::exists(name));
}

// A name found taken (another's file, here an empty one) is given up before it is owned.
TEST_F(TemporaryWatchTest, ANameGivenUpIsLeftAsItWas) {
    { std::ofstream{name}; }
    { TemporaryWatch watch(name.string()); }
    EXPECT_TRUE(fs::exists(name));
}

TEST_F(TemporaryWatchTest, ItsFileIsLeftOnceItIsToldTheNameIsTakenCareOf) {
    const int fd = made(name, "whole");
    ASSERT_GE(fd, 0);
    {
        TemporaryWatch watch(name.string());
        watch.own(fd);
        errno = ENOSPC;
    }
    EXPECT_EQ(errno, ENOSPC); // the failure being reported stays
    ::close(fd);
    EXPECT_TRUE(fs::exists(name));
}

} // namespace
} // namespace orvanta::cli
