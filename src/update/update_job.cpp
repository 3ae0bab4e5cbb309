#include "update/update_job.h"

#include "common/md5.h"
#include "update/locator.h"

namespace jc {

bool IsNoImagePlaceholder(const Bytes& bytes) {
  return bytes.size() == 2834 && Md5Hex(bytes) == "b697574875d3b8eb5dd80e9b2bc9c749";
}

void UpdateEarthImage(UpdateSurface& surface, UpdateServices& services) {
  surface.SetTimerPeriod(0);
  surface.SetButtonEnabled(false);
  surface.SetTrayItemEnabled(false);
  surface.AppendLog(services.TimeStamp() + Text(kStartMessage) + "\r\n");

  ServiceAddress address = services.Address();
  Text path = LocateLatestImage(address.documentUrl,
                                [&services](const Text& url) { return services.Fetch(url); });
  Bytes image = services.Fetch(address.imageBaseUrl + path);

  surface.SetPicture(image);
  const Text imageFile = services.ImageFilePath();
  Bytes shown = surface.Picture();
  // An error page, an empty body or the placeholder must not replace the last good image.
  if (services.DecodesAsImage(shown) && !IsNoImagePlaceholder(shown)) {
    services.ReplaceImageFile(imageFile, shown);
  }
  if (surface.IsWallpaperChecked()) services.ApplyWallpaper(imageFile);

  surface.AppendLog(services.TimeStamp() + Text(kDoneMessage) + "\r\n");
  // Re-armed before the controls come back, so a manual update asked for the moment they are
  // enabled is not overwritten by the ten minutes.
  surface.SetTimerPeriod(kNextUpdateMs);
  surface.SetButtonEnabled(true);
  surface.SetTrayItemEnabled(true);
}

}  // namespace jc
