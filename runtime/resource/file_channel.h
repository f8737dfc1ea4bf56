#pragma once
// File channels: a program variable that holds an open file, read as text
// (lines and numbers) or as raw bytes.
//
// A channel variable is one 32-bit word, the file's handle, null while the
// channel is closed. Its kind, TY_TEXTFILE or TY_BINFILE, travels beside it
// as a type word of which only the low 16 bits count. The handle is an
// ordinary synchronous file handle: a caller may use it directly with
// ReadFile and WriteFile (the rich edit streams through it). Every read here
// leaves the file pointer just after the bytes it consumed, so direct use of
// the handle goes on exactly where the channel stopped, and the reverse.

#include <windows.h>

#include <cstdint>

#include "runtime/core/typed_arg.h"

// Opens fileName into *channel, with mode compared exactly:
//   "R", "r"    text, binary  read           others may read and write  existing file only
//   "R+", "r+"  binary only   read and write others may read            existing file only
//   "W", "w"    text, binary  read and write others may read            created, or emptied
//   "A", "a"    text, binary  read and write others may read            opened or created; the
//                                                                       file pointer at its end
// always with FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN.
// Returns 0 with the handle stored; the caller owns it and ends it with
// CloseFileChannel. Returns 1 with *channel left as it was when the platform
// refuses the file, for a mode outside the table, and for "R+" on a text
// channel. A channelType that is neither kind shows the box "Runtime error
// (OPENFILE): file variable expected" titled "Error" and returns 1 without
// touching the file. Opening a variable that is already open overwrites it
// and leaves the old handle open.
[[nodiscard]] int32_t OpenFileChannel(HANDLE* channel, uint32_t channelType, const char* fileName,
                                      const char* mode);

// The handle of a channel argument. With TY_BYREF (the form to pass) the
// value is the address of the channel variable and the handle is read
// through it. Without it the value is the handle itself when that is an open
// file's handle, else the address of the variable, as the rich edit stream
// commands take it. An address that does not lead to readable memory is
// never read. Null for such an address, a closed channel and a type code
// other than TY_TEXTFILE or TY_BINFILE; a handle read from a variable is not
// checked (IsOpenFile does that).
HANDLE ChannelHandle(TypedArg channel);

// Whether handle is the handle of a file, device or pipe open in this
// process.
bool IsOpenFile(HANDLE handle);

// Reads from channel (as ChannelHandle takes it) into the caller's variable
// at destination.value (for TY_STRING, the address of its characters).
// Returns 0 when something was read, -1 when nothing was: end of file, a
// closed channel or one of neither kind, a null destination, no storage.
//
// Text channel, TY_STRING: the next line. CR, LF and CR LF each end a line;
// the ending is consumed and not stored. The string's storage, in bytes with
// the terminator, is count when count > 0, else the block size when the
// string is the start of a string-heap block, and never more than that block
// size; with no storage known nothing is read and the string is not touched.
// No byte is ever written past the storage: a line longer than storage − 1
// bytes is cut, the string receives its first storage − 1 bytes and the rest
// of the line stays unread, so the next read goes on with it. A line that
// exactly fills the string is read whole, with its ending. A string with
// room for the terminator only reads empty lines; a longer line gives -1
// and stays unread. An empty line reads as "" with result 0; at end of file
// the string is set to "" and the result is -1.
//
// Text channel, any other type code: the next number (ReadNumberText),
// stored by the type code of the variable, rounding to nearest with ties to
// even:
//   TY_INTEGER and any code not listed   signed 32-bit (out of range: the
//                                        integer indefinite, -2147483648)
//   TY_DWORD                             32-bit: the low 32 bits of the value
//                                        rounded to 64 bits, so the whole
//                                        unsigned range is kept
//   TY_WORD, TY_SHORT                    low 16 bits of the 32-bit value
//   TY_BYTE, TY_CHAR                     low 8 bits of the 32-bit value
//   TY_SINGLE, TY_DOUBLE                 32-bit and 64-bit floating point
//   TY_QUAD                              signed 64-bit
//   TY_UQUAD                             unsigned 64-bit, 2^63 and above kept
// When the file holds no further number, 0 is stored and the result is -1.
//
// Binary channel: up to count bytes with ReadFile, into the block whose
// address the variable holds for TY_BLOCK, else into the variable itself.
// The count is cut to the storage the runtime can see: a block's GlobalSize,
// the width of a numeric variable (1, 2, 4 or 8 bytes), a string-heap
// block's size. Any other destination must hold count bytes. A variable of
// type TY_BLOCK that holds no block reads nothing.
int32_t ReadFileChannel(TypedArg channel, TypedArg destination, int32_t count = 0);

// Closes the channel's handle and sets *channel to null; returns 1, or 0 when
// it was already closed. A channelType that is neither kind shows the box
// "Runtime Error: Invalid file variable" titled "Error", leaves the variable
// and its file alone and returns 0.
int32_t CloseFileChannel(HANDLE* channel, uint32_t channelType);

// Reads the next number of the file: skips to the first "-" or digit,
// collects digits, "." and "-" and converts them with ParseNumber, so ".5"
// reads as 5, "-.5" as -0.5 and "12-3" as 12. The byte that ended the number
// is consumed. Only the first 40 characters of a number are converted;
// characters after them still belong to the same number and are consumed
// with it. It reads ahead a chunk at a time and steps the file pointer back
// to just after the consumed bytes: two system calls a number rather than
// one a byte. *notFound (when given) is set to 1 and 0 returned when the
// file ends before a number starts, else it is set to 0.
double ReadNumberText(HANDLE handle, int32_t* notFound);

// "0" to "9".
bool IsDigit(uint8_t byte);
