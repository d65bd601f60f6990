// Bench driver: extracts every entry of an archive into the current folder through UnpackLib.so,
// the way the merger's extract operation calls it (overwrite on, no specs, no password).
#include <dlfcn.h>

#include <cstdio>
#include <string>

#include "zip/UnpackRecords.h"

namespace {
int32_t quietCallback(PackLibCallbackInfo* info) {
  if (info->ActionCode == kActionMessage && info->Arg1 != 0)
    std::fprintf(stderr, "%s\n", info->Text);
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: unzip_driver ABSOLUTE_PATH_OF_UnpackLib.so ARCHIVE\n");
    return 2;
  }
  void* library = ::dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return std::fprintf(stderr, "%s\n", ::dlerror()), 1;
  auto exec = reinterpret_cast<UnpackLibExecProc>(::dlsym(library, UNPACKLIB_EXEC_NAME));
  std::string archive = argv[2], password;
  UnpackLibCommand command{};
  command.InterfaceVersion = kArchiverInterfaceVersion;
  command.CallbackProc = &quietCallback;
  command.PasswordText = password.data();
  command.ConstantOne = 1;
  command.OverwriteFlag = 1;
  command.ArchivePath = archive.data();
  command.PasswordRetries = 1;
  command.Seven = kCommandSeven;
  int32_t count = exec(&command);
  ::dlclose(library);
  return count > 0 ? 0 : 1;
}
