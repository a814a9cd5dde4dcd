#include "WindowModule.h"

#include <dlfcn.h>

namespace tarnwick {

// A name without a folder, so that the dynamic loader looks along the run path of the program,
// whose code calls it: the build folder, or the installed program's own library folder.
WindowMain loadWindowModule(QString &reason)
{
    void *module = ::dlopen(TARNWICK_WINDOW_MODULE, RTLD_NOW | RTLD_LOCAL);
    void *entry = module ? ::dlsym(module, windowMainName) : nullptr;
    if (!entry) {
        reason = QString::fromLocal8Bit(::dlerror());
        return nullptr;
    }
    return reinterpret_cast<WindowMain>(entry);
}

} // namespace tarnwick
