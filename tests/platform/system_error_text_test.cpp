#include "platform/SystemErrorText.h"

#include <gtest/gtest.h>

#include <cerrno>

TEST(SystemErrorText, FileErrorsInJapaneseAndOthersByNumber) {
  EXPECT_EQ(SystemErrorText(EISDIR), "ディレクトリです");
  EXPECT_EQ(SystemErrorText(EACCES), "許可がありません");
  EXPECT_EQ(SystemErrorText(ENOSPC), "デバイスに空き領域がありません");
  EXPECT_EQ(SystemErrorText(EROFS), "読み込み専用ファイルシステムです");
  EXPECT_EQ(SystemErrorText(0), "システムエラー（番号 0）");
  EXPECT_EQ(SystemErrorText(ECHILD), "システムエラー（番号 10）");
}
