// The handler that ends a Windows program on an exception nobody caught, in place of the C++
// runtime's own: that one names the exception's type through the runtime's demangler, some
// 45 KB that every merger file would carry for a message its users never need.
#include <cstdio>
#include <cstdlib>
#include <exception>

// The runtime calls this by its name; defined here, the runtime's own is never linked.
namespace __gnu_cxx {

void __verbose_terminate_handler() {
  if (const std::exception_ptr thrown = std::current_exception()) {
    std::fputs("terminate called after throwing an exception\n", stderr);
    try {
      std::rethrow_exception(thrown);
    } catch (const std::exception& e) {
      std::fputs("  what():  ", stderr);
      std::fputs(e.what(), stderr);
      std::fputs("\n", stderr);
    } catch (...) {
    }
  } else {
    std::fputs("terminate called without an active exception\n", stderr);
  }
  std::abort();
}

}  // namespace __gnu_cxx
