#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <string>

#include "TempFolder.h"

namespace {

// The bytes of a file of n bytes, each different from its neighbours.
std::string Bytes(size_t n) {
  std::string bytes(n, '\0');
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>('a' + i % 23);
  return bytes;
}

TEST(ReadFileHead, WholeFilesOfEverySizeAroundTheBufferStepsAndTheLimit) {
  TempFolder folder;
  for (const size_t size : {0u, 1u, 4095u, 4096u, 4097u, 8192u, 8193u, 65535u, 65536u, 65537u, 200000u}) {
    std::string name = "f";  // appended, not "f" + …: GCC 12 warns falsely on that
    name += std::to_string(size);
    const std::string path = folder.Write(name, Bytes(size));
    const std::optional<std::string> whole = ReadFileHead(path, 65536);
    ASSERT_TRUE(whole.has_value()) << size;
    EXPECT_EQ(*whole, Bytes(std::min<size_t>(size, 65536))) << size;
    EXPECT_EQ(ReadFileHead(path, 5), Bytes(std::min<size_t>(size, 5))) << size;
    EXPECT_EQ(ReadFileHead(path, 0), std::string()) << size;
  }
  EXPECT_EQ(ReadFileHead(folder / "none", 10), std::nullopt);
}

}  // namespace
