#pragma once
// The small COM object every runtime rich edit control gets as its OLE
// callback: it hands the control a fresh in-memory storage for each embedded
// object and allows every insertion; all other questions are left to the
// control's own behaviour.

#include <windows.h>
#include <ole2.h>
#include <richedit.h>

#include <cstddef>
#include <cstdint>

struct RichEditCallback;

// The operations in the slot order of IRichEditOleCallback, each taking the
// object first (the platform's COM calling convention).
struct RichEditCallbackOperations {
    HRESULT(STDMETHODCALLTYPE* queryInterface)(RichEditCallback* self, REFIID riid, void** ppv);
    ULONG(STDMETHODCALLTYPE* addRef)(RichEditCallback* self);
    ULONG(STDMETHODCALLTYPE* release)(RichEditCallback* self);
    HRESULT(STDMETHODCALLTYPE* getNewStorage)(RichEditCallback* self, IStorage** storage);
    HRESULT(STDMETHODCALLTYPE* getInPlaceContext)(RichEditCallback* self, IOleInPlaceFrame** frame,
                                                 IOleInPlaceUIWindow** document,
                                                 OLEINPLACEFRAMEINFO* frameInfo);
    HRESULT(STDMETHODCALLTYPE* showContainerUI)(RichEditCallback* self, BOOL show);
    HRESULT(STDMETHODCALLTYPE* queryInsertObject)(RichEditCallback* self, CLSID* clsid, IStorage* storage,
                                                 LONG cp);
    HRESULT(STDMETHODCALLTYPE* deleteObject)(RichEditCallback* self, IOleObject* object);
    HRESULT(STDMETHODCALLTYPE* queryAcceptData)(RichEditCallback* self, IDataObject* data, CLIPFORMAT* format,
                                               DWORD reco, BOOL really, HGLOBAL metaPict);
    HRESULT(STDMETHODCALLTYPE* contextSensitiveHelp)(RichEditCallback* self, BOOL enterMode);
    HRESULT(STDMETHODCALLTYPE* getClipboardData)(RichEditCallback* self, CHARRANGE* range, DWORD reco,
                                                IDataObject** data);
    HRESULT(STDMETHODCALLTYPE* getDragDropEffect)(RichEditCallback* self, BOOL drag, DWORD keyState,
                                                 DWORD* effect);
    HRESULT(STDMETHODCALLTYPE* getContextMenu)(RichEditCallback* self, WORD selectionType, IOleObject* object,
                                              CHARRANGE* range, HMENU* menu);
};
static_assert(sizeof(RichEditCallbackOperations) == 13 * 4);
static_assert(offsetof(RichEditCallbackOperations, getNewStorage) == 3 * 4);
static_assert(offsetof(RichEditCallbackOperations, queryInsertObject) == 6 * 4);
static_assert(offsetof(RichEditCallbackOperations, getContextMenu) == 12 * 4);

// Laid out as a COM object: the table first, so a pointer to the record is
// an IRichEditOleCallback pointer.
struct RichEditCallback {
    const RichEditCallbackOperations* operations;
    LONG refCount;   // 0 at creation; the object is freed when a release brings it to 0 or below
};
static_assert(sizeof(RichEditCallback) == 8);
static_assert(offsetof(RichEditCallback, operations) == 0);
static_assert(offsetof(RichEditCallback, refCount) == 4);

// {00000000-0000-0000-C000-000000000046} and {00020D03-0000-0000-C000-000000000046}.
inline constexpr GUID kUnknownInterfaceId{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr GUID kRichEditCallbackInterfaceId{0x00020D03, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// A new object with a reference count of 0, zero-filled from GlobalAlloc;
// null when the allocation fails. Whoever takes it calls addRef.
[[nodiscard]] RichEditCallback* CreateRichEditCallback();

// Gives the rich edit control a new callback object with EM_SETOLECALLBACK.
// The control takes the references it keeps and releases them when it is
// destroyed; the runtime holds one of its own only during the send. An
// object the control does not keep is freed at once. 1 when the control
// kept it; 0 otherwise.
int32_t InstallRichEditCallback(HWND control);
