// The line reader of track files reads a file in pieces of about its own
// size: what is added after the file was opened must still be read whole,
// lines across the pieces' ends included.
#include "track/text_lines.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "track_test_files.h"

using namespace tcmap;

TEST(FileLines, AFileThatGrowsAfterItIsOpenedIsReadToItsEnd) {
    test::ScratchFolder folder;
    const std::string path = folder.write("growing.dat", "first\r\n");
    FileLines lines(path);  // sized by the 7 bytes there are now

    std::vector<std::string> expected{"first"};
    std::string added;
    for (int i = 0; i < 3000; ++i) {
        expected.push_back("line " + std::to_string(i) + std::string(i % 7, 'x'));
        added += expected.back() + "\n";
    }
    std::FILE* file = std::fopen(path.c_str(), "ab");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(added.data(), 1, added.size(), file), added.size());
    ASSERT_EQ(std::fclose(file), 0);
    ASSERT_GT(added.size(), 4u * 4096);

    std::vector<std::string> read;
    for (std::string_view line; lines.next(line);) read.emplace_back(line);
    EXPECT_EQ(read, expected);
    EXPECT_EQ(lines.lineNumber(), 3001);
}
