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

std::string text(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The exit code of quorvex-ctl with the given arguments; its standard error into `err`, its
// standard output into `out`.
int ctl(const std::string& args, std::string* err = nullptr, std::string* out = nullptr) {
    const std::string stem =
        fs::temp_directory_path() / ("quorvex-ctl-" + std::to_string(::getpid()));
    const int status = std::system(
        (std::string(QUORVEX_CTL) + " " + args + " 2>" + stem + ".err >" + stem + ".out").c_str());
    if (err) *err = text(stem + ".err");
    if (out) *out = text(stem + ".out");
    fs::remove(stem + ".err");
    fs::remove(stem + ".out");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
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

TEST(Ctl, TwoMiceInOneMountOneByDeviceBothByAll) {
    MountedSim sim({"--mice", "2", "--extra-device", "046d:c31c"});
    if (!sim.running()) GTEST_SKIP() << sim.skipReason();
    const std::string dir = "--hidraw-dir " + sim.dir() + " ";
    const std::string first = sim.dir() + "/hidraw0", second = sim.dir() + "/hidraw1";
    std::string out, err;
    ASSERT_EQ(ctl(dir + "list", &err, &out), 0) << err;
    EXPECT_TRUE(has(out, first + "  macro mouse") && has(out, second + "  macro mouse")) << out;
    EXPECT_FALSE(has(out, "hidraw2")) << "the keyboard is no mouse: " << out;
    ASSERT_EQ(ctl(dir + "--json list", &err, &out), 0) << err;
    EXPECT_TRUE(has(out, "{\"mice\": [{\"device\": \"" + first)) << out;

    // One mouse changed by its path; the other keeps its settings.
    ASSERT_EQ(ctl(dir + "--device " + second + " set dpi=600,800 rate=1000 firekey2=3x40", &err), 0)
        << err;
    ASSERT_EQ(ctl(dir + "--all get dpi", &err, &out), 0) << err;
    EXPECT_TRUE(has(out, second + ": dpi = 600,800\n")) << out;
    EXPECT_FALSE(has(out, first + ": dpi = 600,800")) << out;
    ASSERT_EQ(ctl(dir + "--device " + second + " --json get firekey2", &err, &out), 0) << err;
    EXPECT_EQ(out, "{\"firekey2\": \"3x40\"}\n");

    // --all: each mouse in turn, one line each; the second one unplugs during its write, the
    // first is done all the same and the exit code is the worst.
    // The mice are alike: the first one's read tells how many reports the second's read takes.
    ASSERT_TRUE(sim.control("clear-counters"));
    ASSERT_EQ(ctl(dir + "--device " + first + " get rate"), 0);
    const long read = sim.counter("commands") + sim.counter("data_in") + sim.counter("data_out");
    ASSERT_TRUE(sim.control("mouse2 fault unplug-after " + std::to_string(read + 20)));
    EXPECT_EQ(ctl(dir + "--all set rate=500", &err, &out), 6);
    EXPECT_EQ(out, first + ": done\n");
    EXPECT_TRUE(has(err, second + ": ") && has(err, "Run the command again")) << err;
    EXPECT_FALSE(has(err, "Apply")) << err;
    ASSERT_TRUE(sim.control("mouse2 fault clear"));
    ASSERT_TRUE(sim.control("mouse2 plug"));
    ASSERT_EQ(ctl(dir + "--device " + first + " get rate", &err, &out), 0) << err;
    EXPECT_EQ(out, "rate = 500\n");

    // Paths and folders that are no mouse say so.
    EXPECT_EQ(ctl(dir + "--device " + sim.dir() + "/hidraw2 info", &err), 3);
    EXPECT_TRUE(has(err, "hidraw2 is no connected mouse")) << err;
    EXPECT_EQ(ctl(dir + "--device " + first + " --device " + second + " info", &err), 2);
    EXPECT_TRUE(has(err, "--device is given once")) << err;
    EXPECT_EQ(ctl("--hidraw-dir " + sim.dir() + "-none info", &err), 3);
    EXPECT_TRUE(has(err, "no such folder")) << err;
}

}  // namespace
}  // namespace e2e
