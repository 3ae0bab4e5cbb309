// The update job: fetch the newest Earth, show it, store it, make it the wallpaper.
//
// The job runs on a worker thread that a tick of the window's timer starts. It stops the
// timer first and re-arms it for ten minutes last, so jobs follow one another at ten-minute
// intervals from the end of the previous one; whatever fails on the way, both log lines are
// written, the update controls are enabled again and the timer is re-armed.
#pragma once

#include "common/text.h"
#include "update/service_address.h"

namespace jc {

inline constexpr int kNextUpdateMs = 600000;
inline constexpr int kUpdateNowMs = 100;

inline constexpr std::string_view kStartMessage =
    " \xD5\xFD\xD4\xDA\xB8\xFC\xD0\xC2\xB5\xD8\xC7\xF2\xCD\xBC\xC6\xAC\xA1\xAD\xA1\xAD";  // " 正在更新地球图片……"
inline constexpr std::string_view kDoneMessage =
    " \xB8\xFC\xD0\xC2\xB5\xD8\xC7\xF2\xCD\xBC\xC6\xAC\xCD\xEA\xB3\xC9\xA1\xA3";  // " 更新地球图片完成。"

// What the job does with the main window. Called from the worker thread; an implementation
// hands each call to the user-interface thread in order.
class UpdateSurface {
 public:
  virtual ~UpdateSurface() = default;
  virtual void SetTimerPeriod(int milliseconds) = 0;
  virtual void SetButtonEnabled(bool enabled) = 0;    // 按钮1
  virtual void SetTrayItemEnabled(bool enabled) = 0;  // tray item "获取地球图片"
  virtual void AppendLog(const Text& text) = 0;       // 编辑框1
  virtual void SetPicture(const Bytes& image) = 0;    // 图片框1
  virtual Bytes Picture() = 0;                        // exactly the bytes last set
  virtual bool IsWallpaperChecked() = 0;              // 选择框1
};

// What the job needs of the world outside the window.
class UpdateServices {
 public:
  virtual ~UpdateServices() = default;
  virtual Text TimeStamp() = 0;                  // the current local time, formatted
  virtual ServiceAddress Address() = 0;          // read afresh at each job
  virtual Bytes Fetch(const Text& url) = 0;      // a GET; empty on failure
  virtual bool DecodesAsImage(const Bytes& bytes) = 0;
  virtual Text ImageFilePath() = 0;              // data\vela.png
  virtual bool ReplaceImageFile(const Text& path, const Bytes& bytes) = 0;  // never truncates
  virtual void ApplyWallpaper(const Text& imagePath) = 0;
};

// The service's "No Image" placeholder, which it serves in place of a missing observation.
bool IsNoImagePlaceholder(const Bytes& bytes);

// One job, its thirteen steps in order. The image file is replaced only by bytes that decode
// as an image and are not the placeholder; otherwise the previous file stays.
void UpdateEarthImage(UpdateSurface& surface, UpdateServices& services);

}  // namespace jc
