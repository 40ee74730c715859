#include "platform/SystemErrorText.h"

#include <cerrno>

std::string SystemErrorText(int error) {
  // The errors a file can meet when it is opened, written or renamed.
  switch (error) {
    case EPERM: return "許可されていない操作です";
    case ENOENT: return "そのようなファイルやディレクトリはありません";
    case EIO: return "入力/出力エラーです";
    case EACCES: return "許可がありません";
    case EBUSY: return "デバイスもしくはリソースがビジー状態です";
    case EEXIST: return "ファイルが存在します";
    case EXDEV: return "無効なデバイス間リンクです";
    case ENOTDIR: return "ディレクトリではありません";
    case EISDIR: return "ディレクトリです";
    case EINVAL: return "無効な引数です";
    case EMFILE: return "開いているファイルが多すぎます";
    case EFBIG: return "ファイルが大きすぎます";
    case ENOSPC: return "デバイスに空き領域がありません";
    case EROFS: return "読み込み専用ファイルシステムです";
    case ENAMETOOLONG: return "ファイル名が長すぎます";
    case ELOOP: return "シンボリックリンクの階層が多すぎます";
    case EDQUOT: return "ディスク使用量制限を超過しました";
    case ENOMEM: return "メモリを確保できません";
    default: return "システムエラー（番号 " + std::to_string(error) + "）";
  }
}
