#include "image/profile_file.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace image {
namespace {

std::filesystem::path tempPath(const std::string& name) {
    return std::filesystem::temp_directory_path() /
           ("quorvex-profile-" + std::to_string(::getpid()) + "-" + name);
}

TEST(ProfileFile, NameGetsOneSuffix) {
    EXPECT_EQ(withBinSuffix("/tmp/gaming"), "/tmp/gaming.bin");
    EXPECT_EQ(withBinSuffix("/tmp/gaming.bin"), "/tmp/gaming.bin") << "no second .bin";
    EXPECT_EQ(withBinSuffix("/tmp/GAMING.BIN"), "/tmp/GAMING.BIN");
    EXPECT_EQ(withBinSuffix("/tmp/a.txt"), "/tmp/a.txt.bin");
}

TEST(ProfileFile, WritesAndReadsAllThreeAreas) {
    DataBuf out;
    out.image.fill(0x11);
    out.macroNames.fill(0x22);
    for (std::size_t i = 0; i < kMacroCount; ++i) out.macros[i].fill(static_cast<Byte>(i));
    const auto path = tempPath("full.bin");
    ASSERT_FALSE(writeProfileFile(path, out));
    EXPECT_EQ(std::filesystem::file_size(path), kFullImageSize);
    DataBuf in;
    ASSERT_FALSE(readProfileFile(path, in));
    EXPECT_EQ(in.image, out.image);
    EXPECT_EQ(in.macroNames, out.macroNames);
    EXPECT_EQ(in.macros[31], out.macros[31]);
    std::filesystem::remove(path);
}

TEST(ProfileFile, AShortFileLoadsWhatItHolds) {
    const auto path = tempPath("short.bin");
    {
        std::ofstream f(path, std::ios::binary);
        for (int i = 0; i < 300; ++i) f.put(static_cast<char>(0x33));
    }
    DataBuf in;
    in.macroNames.fill(0x44);
    in.macros[0].fill(0x55);
    ASSERT_FALSE(readProfileFile(path, in));
    EXPECT_EQ(in.image[255], 0x33);
    EXPECT_EQ(in.macroNames[43], 0x33);
    EXPECT_EQ(in.macroNames[44], 0x44);
    EXPECT_EQ(in.macros[0][0], 0x55);
    std::filesystem::remove(path);
}

TEST(ProfileFile, FailuresAreReported) {
    DataBuf buf;
    const auto missing = readProfileFile(tempPath("does-not-exist.bin"), buf);
    ASSERT_TRUE(missing);
    EXPECT_FALSE(missing->create);
    EXPECT_FALSE(missing->reason.empty());
    const auto cannot = writeProfileFile("/nonexistent-dir/profile.bin", buf);
    ASSERT_TRUE(cannot);
    EXPECT_TRUE(cannot->create);
    if (std::filesystem::exists("/dev/full")) {
        const auto full = writeProfileFile("/dev/full", buf);
        EXPECT_TRUE(full) << "a write that does not get through is not success";
    }
}

}  // namespace
}  // namespace image
