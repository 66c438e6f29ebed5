#include "platform/win32/common_controls.h"

namespace vellumar::win32 {

namespace {

// The resource id of the manifest that names the common controls, version
// 6; id 1 is the program's own manifest, which the loader reads.
constexpr WORD kCommonControlsManifestId = 2;

thread_local bool context_current = false;

// The activation context of that manifest, made once for the process; none
// in a program without the resource (the tests), which then gets the
// controls the system gives it.
HANDLE CommonControlsContext() {
    static const HANDLE context = [] {
        ACTCTXW request{};
        request.cbSize = sizeof(request);
        request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.hModule = ::GetModuleHandleW(nullptr);
        request.lpResourceName = MAKEINTRESOURCEW(kCommonControlsManifestId);
        return ::CreateActCtxW(&request);
    }();
    return context;
}

template <typename Function>
void Find(HMODULE module, const char* name, Function& function) {
    if (const FARPROC found = ::GetProcAddress(module, name))
        function = reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

// What the functions answer when the library is missing: each fails.
HIMAGELIST WINAPI NoImageList(int, int, UINT, int, int) {
    return nullptr;
}
BOOL WINAPI NoDestroy(HIMAGELIST) {
    return FALSE;
}
int WINAPI NoReplaceIcon(HIMAGELIST, int, HICON) {
    return -1;
}
BOOL WINAPI NoRemove(HIMAGELIST, int) {
    return FALSE;
}

}  // namespace

const CommonControlsApi& UseCommonControls() {
    if (!context_current) {
        context_current = true;
        const HANDLE context = CommonControlsContext();
        ULONG_PTR cookie = 0;
        // Never deactivated: windows made later on this thread, and the
        // library loaded below, take their classes from this context.
        if (context != INVALID_HANDLE_VALUE)
            ::ActivateActCtx(context, &cookie);
    }
    static const CommonControlsApi api = [] {
        CommonControlsApi found{&NoImageList, &NoDestroy, &NoReplaceIcon, &NoRemove};
        const HMODULE module = ::LoadLibraryW(L"comctl32.dll");
        if (!module)
            return found;
        decltype(&::InitCommonControlsEx) init = nullptr;
        Find(module, "InitCommonControlsEx", init);
        if (init) {
            const INITCOMMONCONTROLSEX classes{
                sizeof(classes),
                ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
            init(&classes);
        }
        Find(module, "ImageList_Create", found.image_list_create);
        Find(module, "ImageList_Destroy", found.image_list_destroy);
        Find(module, "ImageList_ReplaceIcon", found.image_list_replace_icon);
        Find(module, "ImageList_Remove", found.image_list_remove);
        return found;
    }();
    return api;
}

}  // namespace vellumar::win32
