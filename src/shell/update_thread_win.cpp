#include "shell/update_thread_win.h"

#include <chrono>
#include <future>
#include <memory>

#include "common/file_win.h"
#include "common/paths_win.h"
#include "imaging/gdiplus_win.h"
#include "imaging/wallpaper_win.h"
#include "update/date_format.h"
#include "update/update_job.h"
#include "web/web_request.h"

namespace jc {
namespace {

// The job's view of the window: each call becomes a task on the user-interface thread, in
// order. The two reads wait for their answer, or give up once the window is gone.
class PostingSurface final : public UpdateSurface {
 public:
  explicit PostingSurface(HWND window) : window_(window) {}

  void SetTimerPeriod(int ms) override { Post([ms](MainWindow& w) { w.SetTimerPeriod(ms); }); }
  void SetButtonEnabled(bool on) override { Post([on](MainWindow& w) { w.SetButtonEnabled(on); }); }
  void SetTrayItemEnabled(bool on) override {
    Post([on](MainWindow& w) { w.SetMenuEnabled(kMenuUpdate, on); });
  }
  void AppendLog(const Text& text) override { Post([text](MainWindow& w) { w.AppendLog(text); }); }
  void SetPicture(const Bytes& image) override {
    Post([image](MainWindow& w) { w.SetPicture(image); });
  }
  Bytes Picture() override {
    return Ask<Bytes>([](MainWindow& w) { return w.Picture(); });
  }
  bool IsWallpaperChecked() override {
    return Ask<bool>([](MainWindow& w) { return w.IsChecked(kIdWallpaperBox); });
  }

 private:
  void Post(MainWindow::Task task) { MainWindow::PostTask(window_, std::move(task)); }

  template <typename Result, typename Read>
  Result Ask(Read read) {
    auto answer = std::make_shared<std::promise<Result>>();
    std::future<Result> future = answer->get_future();
    if (!MainWindow::PostTask(window_, [answer, read](MainWindow& w) { answer->set_value(read(w)); })) {
      return Result{};
    }
    // A window destroyed before it ran the task drops it unanswered.
    while (future.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
      if (!::IsWindow(window_)) return Result{};
    }
    return future.get();
  }

  HWND window_;
};

class SystemServices final : public UpdateServices {
 public:
  Text TimeStamp() override { return FormatDateTime(CurrentLocalTime()); }
  ServiceAddress Address() override { return ConfiguredServiceAddress(); }
  Bytes Fetch(const Text& url) override { return WebRequest(url); }
  bool DecodesAsImage(const Bytes& bytes) override { return jc::DecodesAsImage(bytes); }
  Text ImageFilePath() override { return jc::ImageFilePath(); }
  bool ReplaceImageFile(const Text& path, const Bytes& bytes) override {
    MakeFolderOf(path);
    return ReplaceFileAtomically(path, bytes);
  }
  void ApplyWallpaper(const Text& imagePath) override { jc::ApplyWallpaper(imagePath); }
};

struct JobStart {
  HWND window;
  MainWindow::Task finished;
};

DWORD WINAPI RunJob(void* parameter) {
  std::unique_ptr<JobStart> start(static_cast<JobStart*>(parameter));
  PostingSurface surface(start->window);
  SystemServices services;
  UpdateEarthImage(surface, services);
  MainWindow::PostTask(start->window, std::move(start->finished));
  return 0;
}

}  // namespace

bool StartUpdateThread(HWND window, MainWindow::Task finished) {
  auto start = std::make_unique<JobStart>(JobStart{window, std::move(finished)});
  HANDLE thread = ::CreateThread(nullptr, 0, RunJob, start.get(), 0, nullptr);
  if (!thread) return false;
  start.release();  // the thread owns it now
  ::CloseHandle(thread);
  return true;
}

}  // namespace jc
