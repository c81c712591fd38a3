#include "not_implemented.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <string>

namespace winplatform {

HRESULT notImplemented(const char* method) {
    static std::mutex lock;
    static std::set<std::string> noted;
    const std::lock_guard<std::mutex> hold(lock);
    if (noted.insert(method).second) std::fprintf(stderr, "fixme: %s is not implemented\n", method);
    return E_NOTIMPL;
}

}  // namespace winplatform
