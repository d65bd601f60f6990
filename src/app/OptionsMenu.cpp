// The Options menu: what the original window did not offer, kept between runs in the user's
// settings file. Choosing an entry saves at once, so a crash later loses nothing.
#include <cstdio>

#include "app/MainWindow.h"
#include "app/Settings.h"

void TForm1::loadOptions() {
  const app::Settings saved = app::loadSettings(app::settingsFilePath());
  Checksumfile1->setChecked(saved.checksums);
  Shellmerger1->setChecked(saved.shMerger);
}

void TForm1::saveOptions() {
  const std::string path = app::settingsFilePath();
  // The choice still holds for this run; only the next one starts without it.
  if (!app::saveSettings(path, {checksums(), shMerger()}))
    std::fprintf(stderr, "%s: The options could not be saved in \"%s\".\n", kApplicationTitle,
                 path.empty() ? "$XDG_CONFIG_HOME/fennock/settings.ini" : path.c_str());
}

void TForm1::Checksumfile1Click() { saveOptions(); }

void TForm1::Shellmerger1Click() { saveOptions(); }
