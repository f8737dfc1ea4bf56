#include "runtime/control/rich_edit_callback.h"

namespace {

// Over all 16 bytes: Data1, Data2, Data3 and the eight bytes of Data4.
bool SameInterface(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
        return false;
    for (size_t i = 0; i < sizeof(a.Data4); ++i)
        if (a.Data4[i] != b.Data4[i])
            return false;
    return true;
}

ULONG STDMETHODCALLTYPE CallbackAddRef(RichEditCallback* self) {
    return static_cast<ULONG>(InterlockedIncrement(&self->refCount));
}

ULONG STDMETHODCALLTYPE CallbackRelease(RichEditCallback* self) {
    const LONG count = InterlockedDecrement(&self->refCount);
    if (count > 0)
        return static_cast<ULONG>(count);
    GlobalFree(self);
    return 0;
}

HRESULT STDMETHODCALLTYPE CallbackQueryInterface(RichEditCallback* self, REFIID riid, void** ppv) {
    if (SameInterface(riid, kUnknownInterfaceId) || SameInterface(riid, kRichEditCallbackInterfaceId)) {
        *ppv = self;
        CallbackAddRef(self);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

// A compound file on a growing memory block. The storage holds its own
// reference to the lock bytes, so ours goes once the storage exists: the
// block is then freed with the storage, whoever releases it last.
HRESULT STDMETHODCALLTYPE CallbackGetNewStorage(RichEditCallback*, IStorage** storage) {
    ILockBytes* lockBytes = nullptr;
    HRESULT result = CreateILockBytesOnHGlobal(nullptr, TRUE, &lockBytes);
    if (FAILED(result))
        return result;
    constexpr DWORD kMode = STGM_SHARE_EXCLUSIVE | STGM_CREATE | STGM_READWRITE;
    static_assert(kMode == 0x1012);
    result = StgCreateDocfileOnILockBytes(lockBytes, kMode, 0, storage);
    lockBytes->Release();
    return result;
}

HRESULT STDMETHODCALLTYPE CallbackGetInPlaceContext(RichEditCallback*, IOleInPlaceFrame**, IOleInPlaceUIWindow**,
                                            OLEINPLACEFRAMEINFO*) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CallbackShowContainerUI(RichEditCallback*, BOOL) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE CallbackQueryInsertObject(RichEditCallback*, CLSID*, IStorage*, LONG) { return S_OK; }

HRESULT STDMETHODCALLTYPE CallbackDeleteObject(RichEditCallback*, IOleObject*) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE CallbackQueryAcceptData(RichEditCallback*, IDataObject*, CLIPFORMAT*, DWORD, BOOL, HGLOBAL) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CallbackContextSensitiveHelp(RichEditCallback*, BOOL) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE CallbackGetClipboardData(RichEditCallback*, CHARRANGE*, DWORD, IDataObject**) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CallbackGetDragDropEffect(RichEditCallback*, BOOL, DWORD, DWORD*) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE CallbackGetContextMenu(RichEditCallback*, WORD, IOleObject*, CHARRANGE*, HMENU*) {
    return E_NOTIMPL;
}

constexpr RichEditCallbackOperations kOperations{
    CallbackQueryInterface,
    CallbackAddRef,
    CallbackRelease,
    CallbackGetNewStorage,
    CallbackGetInPlaceContext,
    CallbackShowContainerUI,
    CallbackQueryInsertObject,
    CallbackDeleteObject,
    CallbackQueryAcceptData,
    CallbackContextSensitiveHelp,
    CallbackGetClipboardData,
    CallbackGetDragDropEffect,
    CallbackGetContextMenu,
};

}  // namespace

RichEditCallback* CreateRichEditCallback() {
    auto* callback = static_cast<RichEditCallback*>(GlobalAlloc(GPTR, sizeof(RichEditCallback)));
    if (!callback)
        return nullptr;
    callback->operations = &kOperations;
    callback->refCount = 0;
    return callback;
}

int32_t InstallRichEditCallback(HWND control) {
    RichEditCallback* callback = CreateRichEditCallback();
    if (!callback)
        return 0;
    // Held across the send: a control may take a reference and drop it again
    // inside it, which would otherwise free the object under us.
    CallbackAddRef(callback);
    SendMessageA(control, EM_SETOLECALLBACK, 0, reinterpret_cast<LPARAM>(callback));
    const bool taken = callback->refCount > 1;
    // A control that kept no reference (one that is not a rich edit never
    // takes any) leaves ours the last: the object goes with it.
    CallbackRelease(callback);
    return taken ? 1 : 0;
}
