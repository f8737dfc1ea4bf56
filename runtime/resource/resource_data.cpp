#include "runtime/resource/resource_data.h"

#include <cstring>

#include "runtime/core/strings.h"

namespace {

template <typename T>
T* VariableAt(TypedArg arg) {
    return reinterpret_cast<T*>(static_cast<uintptr_t>(arg.value));
}

// A resource name or type as FindResourceA takes it: an integer name, or a
// string copied into buffer. Null when the argument cannot name one.
const char* ResourceId(TypedArg arg, char (&buffer)[kResourceNameCapacity]) {
    switch (TypeCode(arg)) {
    case TY_STRING: {
        const char* text = VariableAt<const char>(arg);
        if (!text)
            return nullptr;
        const size_t length = strnlen(text, kResourceNameCapacity);
        if (length >= kResourceNameCapacity)
            return nullptr;
        std::memcpy(buffer, text, length + 1);
        return buffer;
    }
    case TY_INTEGER:
    case TY_DWORD: {
        if (IsByRef(arg) && !arg.value)
            return nullptr;
        const uint32_t number = IsByRef(arg) ? *VariableAt<const uint32_t>(arg) : arg.value;
        // A number with high bits set would be taken for a string's address.
        if (number > 0xFFFF)
            return nullptr;
        return MAKEINTRESOURCEA(number);
    }
    case TY_WORD: {
        if (IsByRef(arg) && !arg.value)
            return nullptr;
        const WORD number = IsByRef(arg) ? *VariableAt<const WORD>(arg) : static_cast<WORD>(arg.value);
        return MAKEINTRESOURCEA(number);
    }
    default:
        return nullptr;
    }
}

int32_t CopyIntoString(TypedArg destination, const void* data, DWORD size) {
    char* text = VariableAt<char>(destination);
    const int32_t capacity = StringCapacity(text);
    if (capacity < 1)
        return 0;
    const DWORD room = static_cast<DWORD>(capacity) - 1;
    const DWORD copied = size < room ? size : room;
    std::memcpy(text, data, copied);
    text[copied] = '\0';
    return 1;
}

int32_t CopyIntoBlock(TypedArg destination, const void* data, DWORD size) {
    HGLOBAL block = nullptr;
    if (size >= 0x7FFFFFFF || GlobalAllocZeroed(&block, static_cast<int32_t>(size) + 1, 1) != 0)
        return 0;
    std::memcpy(block, data, size);
    *VariableAt<HGLOBAL>(destination) = block;
    return 1;
}

}  // namespace

int32_t LoadResourceData(TypedArg name, TypedArg type, TypedArg destination) {
    char nameBuffer[kResourceNameCapacity];
    char typeBuffer[kResourceNameCapacity];
    const char* resourceName = ResourceId(name, nameBuffer);
    const char* resourceType = ResourceId(type, typeBuffer);
    if (!resourceName || !resourceType || !destination.value)
        return 0;
    HRSRC resource = FindResourceA(nullptr, resourceName, resourceType);
    if (!resource)
        return 0;
    const DWORD size = SizeofResource(nullptr, resource);
    HGLOBAL loaded = LoadResource(nullptr, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return 0;
    switch (TypeCode(destination)) {
    case TY_STRING:
        return CopyIntoString(destination, data, size);
    case TY_INTEGER:
    case TY_DWORD:
        if (!IsByRef(destination))
            return 0;
        *VariableAt<uint32_t>(destination) = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(data));
        return 1;
    case TY_POINTER:
        *VariableAt<const void*>(destination) = data;
        return 1;
    case TY_BLOCK:
        return CopyIntoBlock(destination, data, size);
    default:
        return 0;
    }
}

int32_t GlobalAllocZeroed(HGLOBAL* block, int32_t count, int32_t size) {
    if (!block)
        return -1;
    *block = nullptr;
    if (count < 0 || size < 0)
        return -1;
    const uint64_t bytes = static_cast<uint64_t>(count) * static_cast<uint64_t>(size);
    if (bytes > 0xFFFFFFFFu)
        return -1;
    *block = GlobalAlloc(GMEM_ZEROINIT, static_cast<SIZE_T>(bytes));
    return *block ? 0 : -1;
}

int32_t GlobalRelease(HGLOBAL block) {
    if (block)
        GlobalFree(block);
    return 0;
}
