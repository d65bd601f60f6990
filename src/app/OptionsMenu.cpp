// The Options menu: what the original window did not offer, kept between runs in the user's
// settings file. Choosing an entry saves at once, so a crash later loses nothing.
#include <cstdio>

#include "PayloadSizes.h"
#include "app/MainWindow.h"
#include "app/Settings.h"
#include "job/SplitJob.h"

void TForm1::loadOptions() {
  const app::Settings saved = app::loadSettings(app::settingsFilePath());
  Checksumfile1->setChecked(saved.checksums);
  Shellmerger1->setChecked(saved.shMerger);
  // A setting saved by a build that had the merger this one lacks keeps the default.
  if (hasMerger(saved.mergerFor)) setMergerFor(saved.mergerFor);
}

void TForm1::saveOptions() {
  const std::string path = app::settingsFilePath();
  // The choice still holds for this run; only the next one starts without it.
  if (!app::saveSettings(path, {checksums(), shMerger(), mergerFor()}))
    std::fprintf(stderr, "%s: The options could not be saved in \"%s\".\n", kApplicationTitle,
                 path.empty() ? "$XDG_CONFIG_HOME/fennock/settings.ini" : path.c_str());
}

void TForm1::Checksumfile1Click() { saveOptions(); }

void TForm1::Shellmerger1Click() { saveOptions(); }

void TForm1::Mergerforwindows1Click() { saveOptions(); }

void TForm1::Mergerforlinux1Click() { saveOptions(); }

bool TForm1::hasMerger(job::MergerSystem system) {
  return system == job::MergerSystem::Windows ? payloads::WindowsMergerImageSize > 0
                                              : payloads::LinuxMergerImageSize > 0;
}

job::MergerSystem TForm1::mergerFor() const {
  return Mergerforwindows1->checked() ? job::MergerSystem::Windows : job::MergerSystem::Linux;
}

void TForm1::setMergerFor(job::MergerSystem system) {
  if (!hasMerger(system)) throw job::EJobRefused(job::kNoWindowsMergerText);
  (system == job::MergerSystem::Windows ? Mergerforwindows1 : Mergerforlinux1)->setChecked(true);
}
