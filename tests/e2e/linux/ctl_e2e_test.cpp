// quorvex-ctl as a user runs it, against quorvex-mouse-sim's hidraw node through the kernel.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "mounted_sim.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

// The exit code of quorvex-ctl with the given arguments; its standard error into `err`.
int ctl(const std::string& args, std::string* err = nullptr) {
    const std::string errFile = fs::temp_directory_path() / ("quorvex-ctl-err-" + std::to_string(::getpid()));
    const int status = std::system((std::string(QUORVEX_CTL) + " " + args + " 2>" + errFile).c_str());
    if (err) {
        std::ifstream in(errFile);
        *err = {std::istreambuf_iterator<char>(in), {}};
    }
    fs::remove(errFile);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<char> bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(Ctl, DumpLoadDumpThroughHidrawGiveTheSameFile) {
    MountedSim sim({"--extra-device", "046d:c31c"});
    if (!sim.running()) GTEST_SKIP() << sim.skipReason();
    const std::string a = sim.dir() + "-a.bin", b = sim.dir() + "-b.bin";
    const std::string dir = "--hidraw-dir " + sim.dir() + " ";
    EXPECT_EQ(ctl(dir + "dump " + a), 0);
    const long erasesBefore = sim.counter("erases");
    EXPECT_EQ(ctl(dir + "load " + a), 0);
    EXPECT_GT(sim.counter("erases"), erasesBefore) << "load wrote the mouse";
    EXPECT_EQ(ctl(dir + "dump " + b), 0);
    EXPECT_EQ(bytes(a).size(), 34048u);
    EXPECT_EQ(bytes(a), bytes(b));

    std::string err;
    EXPECT_EQ(ctl(dir + "load " + sim.dir() + "-missing.bin", &err), 5);
    EXPECT_NE(err.find("missing.bin"), std::string::npos) << err;
    EXPECT_EQ(ctl(dir + "reset"), 0);
    ASSERT_TRUE(sim.control("unplug"));
    EXPECT_EQ(ctl(dir + "info", &err), 3);
    EXPECT_NE(err.find("No Device Found"), std::string::npos) << err;
    fs::remove(a);
    fs::remove(b);
}

TEST(Ctl, BadCommandLinesAreUsageErrors) {
    for (const char* args : {"", "bogus", "dump", "load a b", "info extra", "--frobnicate info",
                             "--hidraw-dir", "--simulated-mouse=mouse info"}) {
        std::string err;
        EXPECT_EQ(ctl(args, &err), 2) << args;
        EXPECT_NE(err.find("usage: quorvex-ctl"), std::string::npos) << args;
    }
    EXPECT_EQ(ctl("--help"), 0);
}

}  // namespace
}  // namespace e2e
