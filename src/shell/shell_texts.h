// The shell's captions and messages, as GBK bytes (a native test pins them against the Chinese).
#pragma once

#include <string_view>

namespace jc::texts {

inline constexpr std::string_view kWindowCaption = "\xF6\xAB\xB4\xB0";         // "霁窗"
inline constexpr std::string_view kTrayTip = "\xF6\xAB\xB4\xB0";               // "霁窗"
inline constexpr std::string_view kUpdateNow =
    "\xBB\xF1\xC8\xA1\xB5\xD8\xC7\xF2\xCD\xBC\xC6\xAC";                          // "获取地球图片"
inline constexpr std::string_view kWallpaper = "\xC9\xE8\xD6\xC3\xB1\xDA\xD6\xBD";   // "设置壁纸"
inline constexpr std::string_view kAutostart = "\xBF\xAA\xBB\xFA\xC6\xF4\xB6\xAF";   // "开机启动"
inline constexpr std::string_view kBackground = "\xBA\xF3\xCC\xA8\xD4\xCB\xD0\xD0";  // "后台运行"
inline constexpr std::string_view kExit = "\xCD\xCB\xB3\xF6";                        // "退出"
inline constexpr std::string_view kTrayMenu = "\xCD\xD0\xC5\xCC\xB2\xCB\xB5\xA5";    // "托盘菜单"

// The second start's message and the close question, each with its caption.
inline constexpr std::string_view kAlreadyRunning =
    "\xD2\xD1\xD4\xCB\xD0\xD0\xB1\xBE\xB3\xCC\xD0\xF2\xA3\xAC"
    "\xC7\xEB\xCE\xF0\xD6\xD8\xB8\xB4\xD4\xCB\xD0\xD0\xA3\xA1";                // "已运行本程序，请勿重复运行！"
inline constexpr std::string_view kReminderCaption = "\xD3\xD1\xC7\xE9\xCC\xE1\xD0\xD1:";  // "友情提醒:"
inline constexpr std::string_view kCloseQuestion =
    "\xCA\xC7\xB7\xF1\xB9\xD8\xB1\xD5\xB1\xBE\xB3\xCC\xD0\xF2\xA3\xBF";      // "是否关闭本程序？"
inline constexpr std::string_view kQuestionCaption = "\xD1\xAF\xCE\xCA\xA3\xBA";       // "询问："

}  // namespace jc::texts
