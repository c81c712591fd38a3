#include "winplatform/actctx.h"

#include "handle_table.h"
#include "process_state.h"
#include "winplatform/handles.h"
#include "winplatform/diagnostics.h"
#include "winplatform/errors.h"
#include "winplatform/resources.h"

#include <string_view>
#include <vector>

namespace winplatform::activation {

// A context made from a manifest. The manifest is only checked to be an
// assembly manifest: nothing on this platform changes while it is active.
// Not in an unnamed namespace: objects of this kind made by another copy of
// this library (process_state.h) are cast to it, which needs a type of the
// same name in every copy.
class ActivationContext : public HandleObject {
public:
    static constexpr HandleKind kKind = HandleKind::ActivationContext;
    ActivationContext() : HandleObject(kKind) {}
};

}  // namespace winplatform::activation

namespace {

using winplatform::activation::ActivationContext;

struct Activation {
    ULONG_PTR cookie;
    HANDLE context;
};

struct ThreadActivations {
    std::vector<Activation> stack;
    ULONG_PTR nextCookie = 1;
    winplatform::ActivationStats stats;
};

ThreadActivations& activations() {
    thread_local ThreadActivations* mine = &winplatform::detail::threadShared<ThreadActivations>("kernel.activations");
    return *mine;
}

bool isAssemblyManifest(std::string_view text) {
    return text.find("<assembly") != std::string_view::npos &&
           text.find("urn:schemas-microsoft-com:asm.v1") != std::string_view::npos;
}

}  // namespace

namespace winplatform {
ActivationStats activationStats() {
    ActivationStats stats = activations().stats;
    stats.depth = activations().stack.size();
    return stats;
}
}  // namespace winplatform

WINPLATFORM_API HANDLE WINAPI CreateActCtxW(const ACTCTXW* context) {
    if (context == nullptr || context->cbSize < sizeof(ACTCTXW) ||
        (context->dwFlags & ACTCTX_FLAG_HMODULE_VALID) == 0 ||
        (context->dwFlags & ACTCTX_FLAG_RESOURCE_NAME_VALID) == 0) {
        // Only manifests embedded in a module are served here.
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    HRSRC resource = FindResourceW(context->hModule, context->lpResourceName, RT_MANIFEST);
    if (resource == nullptr) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(context->hModule, resource)));
    const DWORD size = SizeofResource(context->hModule, resource);
    if (bytes == nullptr || !isAssemblyManifest(std::string_view(bytes, size))) {
        SetLastError(ERROR_SXS_KEY_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    return winplatform::addHandle(std::make_unique<ActivationContext>());
}

WINPLATFORM_API void WINAPI ReleaseActCtx(HANDLE context) {
    if (winplatform::findHandleAs<ActivationContext>(context) != nullptr) CloseHandle(context);
}

WINPLATFORM_API BOOL WINAPI ActivateActCtx(HANDLE context, ULONG_PTR* cookie) {
    if (cookie == nullptr || winplatform::findHandleAs<ActivationContext>(context) == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *cookie = activations().nextCookie++;
    activations().stack.push_back({*cookie, context});
    ++activations().stats.activations;
    return TRUE;
}

WINPLATFORM_API BOOL WINAPI DeactivateActCtx(DWORD, ULONG_PTR cookie) {
    // Contexts are deactivated in the reverse order of their activation.
    if (activations().stack.empty() || activations().stack.back().cookie != cookie) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    activations().stack.pop_back();
    ++activations().stats.deactivations;
    return TRUE;
}

WINPLATFORM_API BOOL WINAPI GetCurrentActCtx(HANDLE* context) {
    if (context == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *context = activations().stack.empty() ? nullptr : activations().stack.back().context;
    return TRUE;
}
