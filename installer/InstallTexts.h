// InstallTexts.h: what the installer says to the user, in UTF-8. The
// framework draws GBK, so every text passes through Utf8ToGBK before it
// reaches a control or a message box (the wizard's install host does it).
#pragma once

namespace installer::texts {

constexpr const char kNextCaption[] = "下一步 Next";
constexpr const char kInstallCaption[] = "同意/安装 Agree/Install";
constexpr const char kOwnScriptsCaption[] =
    "我要自己修改初始化脚本. I will modify system script myself.";
// Formatted with the program's name.
constexpr const char kKillQuestion[] = "%s 正在运行. 无法继续安装. 可以杀掉该进程吗?";
constexpr const char kReadyQuestion[] =
    "Please close all applications before proceeding. Are you ready to proceed now?";
constexpr const char kCannotMakeDir[] =
    "无法建目录。请检查所列目录是否合法（注意：子目录只能在已存在的目录下建）。";
// Formatted with the directory and its length.
constexpr const char kPathTooLong[] = "安装目录太长（最多255字节）：%s";
// Formatted with the distribution directory and the missing file.
constexpr const char kIncompleteDistribution[] =
    "安装文件不全：%s 中没有 %s。什么也没有改动，请用完整的安装包重新安装。";
constexpr const char kKeepOldLexicon[] = "安装目录有老词库。您想仍使用它(不安装新词库)吗?";
// Formatted with the path of the xinput script.
constexpr const char kXimScriptFailed[] = "未能成功修改XIM初始化文件：%s";
// Formatted with the file that could not be written.
constexpr const char kStartupFileFailed[] = "未能成功修改初始化文件：%s";
constexpr const char kSucceeded[] = "祝贺您：安装顺利完成！请重新登陆系统.";
constexpr const char kFailed[] = "安装失败！请检查一下系统后，再重新安装。谢谢！";

}  // namespace installer::texts
