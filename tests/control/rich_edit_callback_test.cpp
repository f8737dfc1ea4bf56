// The rich edit OLE callback: the object alone through its COM interface,
// and installed in real rich edit controls that paste, copy and die.

#include "runtime/control/rich_edit_callback.h"

#include <richole.h>

#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "runtime/control/control_commands.h"
#include "tests/control/control_fixture.h"
#include "tests/support/import_slot.h"

extern "C" {
extern HRESULT(WINAPI* importedCreateILockBytesOnHGlobal)(HGLOBAL, BOOL, ILockBytes**) __asm__(
    "__imp__CreateILockBytesOnHGlobal@12");
extern HRESULT(WINAPI* importedStgCreateDocfileOnILockBytes)(ILockBytes*, DWORD, DWORD, IStorage**) __asm__(
    "__imp__StgCreateDocfileOnILockBytes@16");
}

namespace {

constexpr GUID kDataObjectId{0x0000010E, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID kRichEditOleId{0x00020D00, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

IRichEditOleCallback* AsInterface(RichEditCallback* callback) {
    return reinterpret_cast<IRichEditOleCallback*>(callback);
}

// Whether the address is still a live block of the process heap, where
// GlobalAlloc takes fixed memory from.
bool IsLiveBlock(const void* address) { return HeapValidate(GetProcessHeap(), 0, address) != FALSE; }

// Bytes in use on the process heap.
SIZE_T HeapBytesInUse() {
    SIZE_T total = 0;
    HANDLE heap = GetProcessHeap();
    HeapLock(heap);
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
            total += entry.cbData;
    HeapUnlock(heap);
    return total;
}

TEST(RichEditCallbackObject, QueryInterfaceAnswersOnlyItsTwoInterfacesOverAllSixteenBytes) {
    struct Case {
        const char* name;
        GUID id;
        bool accepted;
    };
    GUID lastByte = kRichEditCallbackInterfaceId;
    lastByte.Data4[7] = 0x47;
    GUID middleByte = kUnknownInterfaceId;
    middleByte.Data4[3] = 1;
    GUID data3 = kRichEditCallbackInterfaceId;
    data3.Data3 = 1;
    const std::array cases{
        Case{"IUnknown", kUnknownInterfaceId, true},
        Case{"IRichEditOleCallback", kRichEditCallbackInterfaceId, true},
        Case{"IDataObject", kDataObjectId, false},
        Case{"IRichEditOle", kRichEditOleId, false},
        Case{"callback id with another last byte", lastByte, false},
        Case{"IUnknown with another Data4[3]", middleByte, false},
        Case{"callback id with another Data3", data3, false},
    };
    RichEditCallback* callback = CreateRichEditCallback();
    ASSERT_NE(callback, nullptr);
    EXPECT_EQ(callback->refCount, 0);
    IRichEditOleCallback* object = AsInterface(callback);
    LONG expectedCount = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        void* answer = &expectedCount;   // any non-null value, to see it replaced
        const HRESULT result = object->QueryInterface(c.id, &answer);
        if (c.accepted) {
            ++expectedCount;
            EXPECT_EQ(result, S_OK);
            EXPECT_EQ(answer, callback);
        } else {
            EXPECT_EQ(result, E_NOINTERFACE);
            EXPECT_EQ(answer, nullptr);
        }
        EXPECT_EQ(callback->refCount, expectedCount);
    }
    for (LONG left = expectedCount - 1; left >= 0; --left)
        EXPECT_EQ(object->Release(), static_cast<ULONG>(left));
    EXPECT_FALSE(IsLiveBlock(callback));
}

TEST(RichEditCallbackObject, AddRefThenReleaseCountsOneThenZeroAndFreesIt) {
    RichEditCallback* callback = CreateRichEditCallback();
    ASSERT_NE(callback, nullptr);
    EXPECT_EQ(GlobalSize(callback), sizeof(RichEditCallback));
    IRichEditOleCallback* object = AsInterface(callback);
    EXPECT_EQ(object->AddRef(), 1u);
    EXPECT_EQ(object->AddRef(), 2u);
    EXPECT_EQ(object->Release(), 1u);
    EXPECT_TRUE(IsLiveBlock(callback));
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_FALSE(IsLiveBlock(callback));
}

TEST(RichEditCallbackObject, InsertionIsAllowedAndEveryOtherQuestionLeftToTheControl) {
    RichEditCallback* callback = CreateRichEditCallback();
    ASSERT_NE(callback, nullptr);
    IRichEditOleCallback* object = AsInterface(callback);
    object->AddRef();
    CLSID clsid{};
    CHARRANGE range{0, 1};
    IDataObject* data = nullptr;
    CLIPFORMAT format = CF_TEXT;
    DWORD effect = DROPEFFECT_COPY;
    HMENU menu = nullptr;
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    OLEINPLACEFRAMEINFO frameInfo{};
    const std::array<std::pair<const char*, std::function<HRESULT()>>, 10> calls{{
        {"QueryInsertObject", [&] { return object->QueryInsertObject(&clsid, nullptr, REO_CP_SELECTION); }},
        {"GetInPlaceContext", [&] { return object->GetInPlaceContext(&frame, &document, &frameInfo); }},
        {"ShowContainerUI", [&] { return object->ShowContainerUI(TRUE); }},
        {"DeleteObject", [&] { return object->DeleteObject(nullptr); }},
        {"QueryAcceptData", [&] { return object->QueryAcceptData(nullptr, &format, RECO_PASTE, TRUE, nullptr); }},
        {"ContextSensitiveHelp", [&] { return object->ContextSensitiveHelp(TRUE); }},
        {"GetClipboardData", [&] { return object->GetClipboardData(&range, RECO_COPY, &data); }},
        {"GetDragDropEffect", [&] { return object->GetDragDropEffect(TRUE, MK_LBUTTON, &effect); }},
        {"GetContextMenu", [&] { return object->GetContextMenu(SEL_TEXT, nullptr, &range, &menu); }},
        {"ContextSensitiveHelp off", [&] { return object->ContextSensitiveHelp(FALSE); }},
    }};
    for (const auto& [name, call] : calls) {
        SCOPED_TRACE(name);
        const HRESULT expected = std::strcmp(name, "QueryInsertObject") == 0 ? S_OK : E_NOTIMPL;
        EXPECT_EQ(call(), expected);
    }
    // Nothing was handed out, and the object is as it was.
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(menu, nullptr);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(callback->refCount, 1);
    object->Release();
}

TEST(RichEditCallbackObject, ANewStorageHoldsWhatIsWrittenIntoIt) {
    RichEditCallback* callback = CreateRichEditCallback();
    ASSERT_NE(callback, nullptr);
    IRichEditOleCallback* object = AsInterface(callback);
    object->AddRef();
    IStorage* storage = nullptr;
    ASSERT_EQ(object->GetNewStorage(&storage), S_OK);
    ASSERT_NE(storage, nullptr);

    IStream* stream = nullptr;
    ASSERT_EQ(storage->CreateStream(L"Contents", STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                    &stream),
              S_OK);
    std::string written(5000, '\0');
    for (size_t i = 0; i < written.size(); ++i)
        written[i] = static_cast<char>('a' + i % 26);
    ULONG moved = 0;
    ASSERT_EQ(stream->Write(written.data(), static_cast<ULONG>(written.size()), &moved), S_OK);
    EXPECT_EQ(moved, written.size());
    stream->Release();
    EXPECT_EQ(storage->Commit(STGC_DEFAULT), S_OK);

    // Opened again by name, the stream gives the bytes back.
    ASSERT_EQ(storage->OpenStream(L"Contents", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream), S_OK);
    std::string read(written.size() + 10, '\0');
    ASSERT_EQ(stream->Read(read.data(), static_cast<ULONG>(read.size()), &moved), S_OK);
    read.resize(moved);
    EXPECT_EQ(read, written);
    STATSTG status{};
    ASSERT_EQ(stream->Stat(&status, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(status.cbSize.QuadPart, written.size());
    stream->Release();
    EXPECT_EQ(storage->Release(), 0u);
    object->Release();
}

TEST(RichEditCallbackObject, ReleasedStoragesLeaveNoMemoryBehind) {
    RichEditCallback* callback = CreateRichEditCallback();
    ASSERT_NE(callback, nullptr);
    IRichEditOleCallback* object = AsInterface(callback);
    object->AddRef();
    auto useStorages = [object](int count) {
        for (int i = 0; i < count; ++i) {
            IStorage* storage = nullptr;
            ASSERT_EQ(object->GetNewStorage(&storage), S_OK);
            IStream* stream = nullptr;
            ASSERT_EQ(storage->CreateStream(L"Data", STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                            &stream),
                      S_OK);
            const std::string block(4096, 'x');
            stream->Write(block.data(), static_cast<ULONG>(block.size()), nullptr);
            stream->Release();
            storage->Release();
        }
    };
    useStorages(20);   // whatever the storage code keeps once for good
    const SIZE_T before = HeapBytesInUse();
    useStorages(200);
    const SIZE_T after = HeapBytesInUse();
    // Each lost memory block would hold well over 4 KB.
    EXPECT_LT(after, before + 100 * 1024) << "before " << before << ", after " << after;
    object->Release();
}

HRESULT WINAPI NoLockBytes(HGLOBAL, BOOL, ILockBytes** lockBytes) {
    *lockBytes = nullptr;
    return E_OUTOFMEMORY;
}

ILockBytes* refusedLockBytes;
HRESULT WINAPI NoDocfile(ILockBytes* lockBytes, DWORD, DWORD, IStorage** storage) {
    refusedLockBytes = lockBytes;
    lockBytes->AddRef();   // to see whether the callback drops its own
    *storage = nullptr;
    return STG_E_INSUFFICIENTMEMORY;
}

// Each step of making a storage failing in turn: the control gets that
// step's answer and no storage, and lock bytes made before a failing
// compound file are not kept.
TEST(RichEditCallbackObject, AStorageThatCannotBeMadeIsRefusedWithThePlatformsAnswer) {
    RichEditCallback* callback = CreateRichEditCallback();
    ASSERT_NE(callback, nullptr);
    IRichEditOleCallback* object = AsInterface(callback);
    object->AddRef();
    IStorage* storage = nullptr;
    {
        ImportStandIn failing(importedCreateILockBytesOnHGlobal, &NoLockBytes);
        EXPECT_EQ(object->GetNewStorage(&storage), E_OUTOFMEMORY);
    }
    {
        ImportStandIn failing(importedStgCreateDocfileOnILockBytes, &NoDocfile);
        refusedLockBytes = nullptr;
        EXPECT_EQ(object->GetNewStorage(&storage), STG_E_INSUFFICIENTMEMORY);
    }
    EXPECT_EQ(storage, nullptr);
    ASSERT_NE(refusedLockBytes, nullptr);
    EXPECT_EQ(refusedLockBytes->Release(), 0u);   // the test's was the last reference
    object->Release();
}

// The callback object a rich edit control is given, seen on its way in.
RichEditCallback* capturedCallback;
LRESULT CALLBACK CaptureCallback(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == EM_SETOLECALLBACK)
        capturedCallback = reinterpret_cast<RichEditCallback*>(message->lParam);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Wraps three operations of an installed object to see what the control
// asks and what it is told; every call still goes to the real operation.
struct CallbackSpy {
    const RichEditCallbackOperations* real = nullptr;
    RichEditCallbackOperations table{};
    HWND control = nullptr;
    std::vector<LONG> objectsWhenAsked;   // objects in the control at each QueryInsertObject
    std::vector<HRESULT> insertAnswers;
    std::vector<HRESULT> storageAnswers;   // with S_FALSE for S_OK without a storage
    std::vector<HRESULT> clipboardAnswers;
    std::vector<ULONG> releases;
    bool freedByLastRelease = false;
};
CallbackSpy* spy;

LONG ObjectCount(HWND control) {
    IRichEditOle* ole = nullptr;
    SendMessageA(control, EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(&ole));
    if (!ole)
        return -1;
    const LONG count = ole->GetObjectCount();
    ole->Release();
    return count;
}

HRESULT STDMETHODCALLTYPE SpyQueryInsertObject(RichEditCallback* self, CLSID* clsid, IStorage* storage, LONG cp) {
    spy->objectsWhenAsked.push_back(ObjectCount(spy->control));
    const HRESULT answer = spy->real->queryInsertObject(self, clsid, storage, cp);
    spy->insertAnswers.push_back(answer);
    return answer;
}

HRESULT STDMETHODCALLTYPE SpyGetNewStorage(RichEditCallback* self, IStorage** storage) {
    const HRESULT answer = spy->real->getNewStorage(self, storage);
    spy->storageAnswers.push_back(answer == S_OK && !*storage ? S_FALSE : answer);
    return answer;
}

HRESULT STDMETHODCALLTYPE SpyGetClipboardData(RichEditCallback* self, CHARRANGE* range, DWORD reco,
                                              IDataObject** data) {
    const HRESULT answer = spy->real->getClipboardData(self, range, reco, data);
    spy->clipboardAnswers.push_back(answer);
    return answer;
}

ULONG STDMETHODCALLTYPE SpyRelease(RichEditCallback* self) {
    const ULONG count = spy->real->release(self);
    spy->releases.push_back(count);
    // Looked at at once, before anything else can take the memory again.
    spy->freedByLastRelease = count == 0 && !IsLiveBlock(self);
    return count;
}

class InstalledCallbackTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        // Wine's rich edit pastes and copies through the OLE clipboard, which
        // needs OLE on the thread: the runtime starts it, not the test.
        spy = &watch;
        HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CaptureCallback, nullptr, GetCurrentThreadId());
        ASSERT_NE(hook, nullptr);
        capturedCallback = nullptr;
        HWND created = MadeControl(&window, CT_RICHEDIT, "", 10, 10, 300, 200, ES_MULTILINE, kRichId);
        UnhookWindowsHookEx(hook);
        ASSERT_NE(created, nullptr);
        callback = capturedCallback;
        ASSERT_NE(callback, nullptr);
        watch.control = Control(kRichId);
        watch.real = callback->operations;
        watch.table = *callback->operations;
        watch.table.queryInsertObject = SpyQueryInsertObject;
        watch.table.getNewStorage = SpyGetNewStorage;
        watch.table.getClipboardData = SpyGetClipboardData;
        watch.table.release = SpyRelease;
        callback->operations = &watch.table;
    }
    void TearDown() override {
        DestroyWindow(watch.control);   // releases the callback while the spy still exists
        ControlTest::TearDown();
        spy = nullptr;
    }
    void PutOnClipboard(UINT format, HANDLE data) {
        ASSERT_TRUE(OpenClipboard(window.hwnd));
        EmptyClipboard();
        SetClipboardData(format, data);
        CloseClipboard();
    }
    static constexpr int32_t kRichId = 301;
    CallbackSpy watch;
    RichEditCallback* callback = nullptr;
};

TEST_F(InstalledCallbackTest, TheControlHoldsTheOnlyReferencesAndItsDestructionFreesTheObject) {
    EXPECT_GT(callback->refCount, 0);
    EXPECT_TRUE(IsLiveBlock(callback));
    DestroyWindow(watch.control);
    ASSERT_FALSE(watch.releases.empty());
    EXPECT_EQ(watch.releases.back(), 0u);
    EXPECT_TRUE(watch.freedByLastRelease);
}

// An enhanced metafile as it is, and a 4 x 4 bitmap as the picture of a
// Rich Text Format clip: Wine's rich edit pastes no CF_BITMAP or CF_DIB, but
// turns an RTF device-independent bitmap into an embedded object.
HANDLE MetafileClip() {
    HDC recorder = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    Rectangle(recorder, 0, 0, 40, 30);
    return CloseEnhMetaFile(recorder);
}

HANDLE BitmapClip() {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = 4;
    header.biHeight = 4;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    std::vector<BYTE> bytes(sizeof(header), 0);
    std::memcpy(bytes.data(), &header, sizeof(header));
    // Wine looks for the pixels one colour-table entry after the header.
    bytes.resize(bytes.size() + sizeof(RGBQUAD) + 4 * 12, 0x80);
    std::string rtf = "{\\rtf1\\ansi {\\pict\\dibitmap0\\picw4\\pich4 ";
    char hex[3];
    for (const BYTE b : bytes) {
        wsprintfA(hex, "%02x", b);
        rtf += hex;
    }
    rtf += "}}";
    HGLOBAL clip = GlobalAlloc(GMEM_MOVEABLE, rtf.size() + 1);
    std::memcpy(GlobalLock(clip), rtf.c_str(), rtf.size() + 1);
    GlobalUnlock(clip);
    return clip;
}

TEST_F(InstalledCallbackTest, PastedPicturesAreInsertedAfterTheControlAskedTheCallback) {
    struct Case {
        const char* name;
        UINT format;
        HANDLE (*make)();
    };
    const Case cases[] = {
        {"enhanced metafile", CF_ENHMETAFILE, MetafileClip},
        {"bitmap in RTF", RegisterClipboardFormatA("Rich Text Format"), BitmapClip},
    };
    ASSERT_EQ(ObjectCount(watch.control), 0);
    LONG objects = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PutOnClipboard(c.format, c.make());
        watch.objectsWhenAsked.clear();
        watch.insertAnswers.clear();
        watch.storageAnswers.clear();

        SendControlCommand(&window, kRichId, CC_ED_PASTE);

        // Wine 8's rich edit pastes these without asking for a storage; a
        // control that asks must get one.
        for (const HRESULT answer : watch.storageAnswers)
            EXPECT_EQ(answer, S_OK);
        RecordProperty(std::string("storages asked, ") + c.name, static_cast<int>(watch.storageAnswers.size()));
        ASSERT_EQ(watch.objectsWhenAsked.size(), 1u);
        EXPECT_EQ(watch.objectsWhenAsked[0], objects);   // asked before the object went in
        EXPECT_EQ(watch.insertAnswers[0], S_OK);
        EXPECT_EQ(ObjectCount(watch.control), ++objects);
    }
}

TEST_F(InstalledCallbackTest, CopyingWorksWhileTheCallbackOffersNoClipboardData) {
    SetWindowTextA(watch.control, "copy me");
    SendMessageA(watch.control, EM_SETSEL, 0, 4);
    PutOnClipboard(CF_TEXT, nullptr);   // empties it

    SendControlCommand(&window, kRichId, CC_ED_COPY);

    ASSERT_EQ(watch.clipboardAnswers.size(), 1u);
    EXPECT_EQ(watch.clipboardAnswers[0], E_NOTIMPL);
    ASSERT_TRUE(OpenClipboard(window.hwnd));
    HANDLE text = GetClipboardData(CF_TEXT);
    const std::string copied = text ? static_cast<const char*>(GlobalLock(text)) : "";
    if (text)
        GlobalUnlock(text);
    CloseClipboard();
    EXPECT_EQ(copied, "copy");
}

TEST_F(ControlTest, AControlThatTakesNoCallbackLeavesNoObjectBehind) {
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 80, 20, window.hwnd, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CaptureCallback, nullptr, GetCurrentThreadId());
    capturedCallback = nullptr;
    EXPECT_EQ(InstallRichEditCallback(edit), 0);
    UnhookWindowsHookEx(hook);
    ASSERT_NE(capturedCallback, nullptr);
    EXPECT_FALSE(IsLiveBlock(capturedCallback));
}

// A stand-in control that takes a reference to the callback it is given and
// keeps it, or drops it again at once. Whether the object outlived the drop
// is seen inside the send, before the installer looks at it again.
struct Taker {
    bool keeps = false;
    IUnknown* object = nullptr;
    bool aliveAfterDrop = false;
};
Taker* taker;

LRESULT CALLBACK TakerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != EM_SETOLECALLBACK)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    taker->object = reinterpret_cast<IUnknown*>(lParam);
    taker->object->AddRef();
    if (!taker->keeps) {
        taker->object->Release();
        taker->aliveAfterDrop = IsLiveBlock(taker->object);
    }
    return TRUE;
}

TEST_F(ControlTest, TheInstallerHoldsItsOwnReferenceWhileTheControlTakesAndDropsOne) {
    WNDCLASSA type{};
    type.lpfnWndProc = TakerProc;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "CallbackTaker";
    ASSERT_NE(RegisterClassA(&type), 0);
    for (const bool keeps : {false, true}) {
        SCOPED_TRACE(keeps ? "keeps" : "drops");
        Taker seen;
        seen.keeps = keeps;
        taker = &seen;
        HWND control = CreateWindowExA(0, type.lpszClassName, "", WS_CHILD, 0, 0, 10, 10, window.hwnd, nullptr,
                                       type.hInstance, nullptr);
        EXPECT_EQ(InstallRichEditCallback(control), keeps ? 1 : 0);
        ASSERT_NE(seen.object, nullptr);
        if (keeps)
            EXPECT_EQ(seen.object->Release(), 0u);   // the control's is the only reference left
        else
            EXPECT_TRUE(seen.aliveAfterDrop);
        EXPECT_FALSE(IsLiveBlock(seen.object));
        DestroyWindow(control);
    }
    UnregisterClassA(type.lpszClassName, type.hInstance);
}

// Whether OLE is initialised on this thread, leaving it as it was.
bool OleOnThread() {
    const HRESULT probe = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(probe))
        CoUninitialize();
    return probe == S_FALSE;
}

// Pasting objects needs OLE on the thread: the first rich edit starts it
// (Wine's rich edit also starts it for its own life), other controls do not,
// and it stays until the END sequence's exit routines end it.
TEST_F(ControlTest, TheFirstRichEditStartsOleAndTheEndOfTheProgramEndsIt) {
    ASSERT_FALSE(OleOnThread());
    ASSERT_NE(MadeControl(&window, CT_EDIT, "", 0, 0, 80, 20, 0, 1), nullptr);
    EXPECT_FALSE(OleOnThread());
    for (const int32_t id : {2, 3}) {
        ASSERT_NE(MadeControl(&window, CT_RICHEDIT, "", 0, 30, 80, 40, ES_MULTILINE, id), nullptr);
        EXPECT_TRUE(OleOnThread());
    }
    CloseWindow(&window);
    EXPECT_TRUE(OleOnThread());
    ShutdownStringHeap();
    EXPECT_FALSE(OleOnThread());   // ended once for the two rich edits
}

}  // namespace
