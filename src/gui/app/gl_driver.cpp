#include "gui/app/gl_driver.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>

namespace velquist {

void KeepGlDriverLoaded() {
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void*) {
        const char* name = info->dlpi_name;
        const size_t length = name != nullptr ? std::strlen(name) : 0;
        constexpr const char suffix[] = "_dri.so";
        constexpr size_t suffixLength = sizeof suffix - 1;
        if (length > suffixLength && std::strcmp(name + length - suffixLength, suffix) == 0) {
          // Already loaded: this only marks it as never to be unloaded.
          dlopen(name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
        }
        return 0;
      },
      nullptr);
}

}  // namespace velquist
