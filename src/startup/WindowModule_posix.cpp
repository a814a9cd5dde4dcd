#include "WindowModule.h"

#include <dlfcn.h>

#include <memory>
#include <string>
#include <unistd.h>

namespace tarnwick {

namespace {

// The module by its full name in the first folder of the program's own library search path (its
// run path, with $ORIGIN filled in: the build folder, or the installed program's own library
// folder) that holds it. Looked up by hand rather than left to dlopen(), which searches the run
// path of the code that calls it, and under a sanitizer that is the sanitizer's library.
void *openModule()
{
    void *program = ::dlopen(nullptr, RTLD_NOW);
    Dl_serinfo size{};
    if (program && ::dlinfo(program, RTLD_DI_SERINFOSIZE, &size) == 0) {
        const std::unique_ptr<char[]> buffer(new char[size.dls_size]);
        auto *folders = reinterpret_cast<Dl_serinfo *>(buffer.get());
        *folders = size;
        if (::dlinfo(program, RTLD_DI_SERINFOSIZE, folders) == 0 && ::dlinfo(program, RTLD_DI_SERINFO, folders) == 0) {
            for (unsigned i = 0; i < folders->dls_cnt; ++i) {
                const std::string path = std::string(folders->dls_serpath[i].dls_name) + '/' + TARNWICK_WINDOW_MODULE;
                if (::access(path.c_str(), F_OK) == 0)
                    return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
            }
        }
    }
    return ::dlopen(TARNWICK_WINDOW_MODULE, RTLD_NOW | RTLD_LOCAL);
}

} // namespace

WindowModule loadWindowModule(QString &reason)
{
    void *module = openModule();
    void *main = module ? ::dlsym(module, windowMainName) : nullptr;
    void *notice = main ? ::dlsym(module, windowNoticeName) : nullptr;
    if (!notice) {
        reason = QString::fromLocal8Bit(::dlerror());
        return {};
    }
    return {reinterpret_cast<WindowMain>(main), reinterpret_cast<WindowNotice>(notice)};
}

} // namespace tarnwick
