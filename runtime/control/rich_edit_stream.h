#pragma once
// Moving a rich edit control's contents to and from a string variable or an
// open text file channel, as plain text or as RTF. The callbacks move bytes
// unchanged; only the format sent with the message differs.

#include <windows.h>
#include <richedit.h>

#include <cstddef>
#include <cstdint>

#include "runtime/core/typed_arg.h"

// One stream's state, the EDITSTREAM's cookie.
struct StreamCookie {
    uint32_t type;      // TY_STRING or TY_TEXTFILE
    char* text;         // string streams: the string's characters
    HANDLE file;        // file streams: the channel's handle
    int32_t position;   // string streams: index of the next character to read or write
    int32_t capacity;   // stream out into a string: bytes it may fill, terminator included
    int32_t overflow;   // 1 once the text did not fit into the string
    int32_t delivered;  // stream out: bytes the string or the file received
};
static_assert(sizeof(StreamCookie) == 28);
static_assert(offsetof(StreamCookie, type) == 0);
static_assert(offsetof(StreamCookie, text) == 4);
static_assert(offsetof(StreamCookie, file) == 8);
static_assert(offsetof(StreamCookie, position) == 12);

// EM_STREAMIN's callback: up to capacity bytes from the string (up to its
// terminator) or the file. 0 to go on, with count 0 at the end; 1 to stop
// for a missing cookie or an unknown type.
DWORD CALLBACK StreamInCallback(DWORD_PTR cookie, LPBYTE buffer, LONG capacity, LONG* count);

// EM_STREAMOUT's callback: appends the bytes to the string, kept
// terminated, or writes them to the file, less the NUL bytes that close a
// chunk (Wine's control ends RTF with one; no document holds it). 0 to go
// on; 1 to stop for a missing cookie, an unknown type, or a string too small
// for the text, which is then left empty.
DWORD CALLBACK StreamOutCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* written);

// For StreamRichEdit's characters: the caller gave no size.
constexpr int32_t kSizeNotGiven = -1;

// Sends EM_STREAMOUT or EM_STREAMIN (message) with format SF_TEXT or SF_RTF
// to the control, the target being a string (TY_STRING) or a text file
// channel (TY_TEXTFILE), taken as ChannelHandle takes it: best passed with
// TY_BYREF and the address of the channel variable, as for ReadFileChannel;
// by value, the variable's address and the handle itself serve too. A
// channel argument that leads to no open file's handle is refused.
//
// A string receiving a stream holds the whole text or nothing: its storage
// is characters + 1 bytes when a size is given (characters not negative),
// never more than the block for a string that is a block of the string
// heap, and with no size the block itself (StringStorage). A string of
// unknown storage is refused untouched, and a text longer than the storage
// leaves the string empty. No byte is ever written past the storage.
//
// Stream in: the control's count of bytes read. Stream out: the bytes the
// string or the file received. 0 when refused (unknown storage, a channel
// without an open file, a text that did not fit) or when nothing moved.
int32_t StreamRichEdit(HWND control, UINT message, uint32_t format, TypedArg target, int32_t characters);
