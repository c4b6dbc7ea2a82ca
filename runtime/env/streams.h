// Numbered file streams: the one way the runtime reads and writes its own files. Handles 0, 1 and 2
// are the standard input, output and error; 3 to 39 hold open files. Files are raw bytes; the line
// reader handles CR LF, LF and CR line ends and a closing Ctrl-Z.
#pragma once
#include <cstdint>
#include <string>
#include "runtime/text/str_desc.h"

namespace rt {

constexpr std::uint16_t kStreamCount = 40;
constexpr std::uint16_t kStreamFirstFile = 3;
constexpr std::uint16_t kStreamPiece = 512;  // bytes moved per library call

// Open flags (bit values).
enum StreamFlags : std::uint16_t {
    kStreamUpdate = 1,    // update an existing file, creating it when missing ("rb+")
    kStreamWrite = 2,     // truncate or create ("wb+")
    kStreamAppend = 4,    // append ("ab+")
    kStreamReadOnly = 8,  // read only, never create ("rb")
    kStreamQuiet = 128,   // give the error code itself, note nothing
};

// Special positions and counts.
constexpr std::uint32_t kStreamHere = 0xFFFF;     // read: the current position; write: the end
constexpr std::uint32_t kStreamRewrite = 0xFFFE;  // FileAppendText: delete the file first
constexpr std::uint16_t kStreamLine = 0xFFFF;     // count of StreamRead: one line
constexpr std::uint16_t kStreamBad = 0xFFFF;      // failed open, end of file, partial write
constexpr std::uint32_t kStreamNoSize = 0xFFFFFFFF;  // StreamSize of a standard stream

// A handle, or 0xFFFF on failure (the path appended to the error detail and the error noted under
// "Streams"); with kStreamQuiet the error code itself (163 bad path, 168 no free entry, 164 not opened).
// The path "CON" gives handle 1 (standard output) when the low five flag bits are exactly 2, else 0.
std::uint16_t StreamOpen(StrDesc path, std::uint16_t flags);
// Opens a new work file beside like (a path whose folder, name and extension the new one takes), its
// name made unique by six characters before the extension, created exclusively with mode 0600, for
// update. A handle (with *path its path), or 0xFFFF (nothing noted) when it cannot be created. The
// caller closes it and removes it.
std::uint16_t StreamCreateUnique(StrDesc like, std::string* path);
// Closes a file and frees its entry; the standard streams stay open. 163 for a handle that is not open.
ErrCode StreamClose(std::uint16_t handle);
// Reads one line (count kStreamLine, terminator consumed but not stored) or count bytes from position
// (kStreamHere: current) into buffer. Gives the bytes placed, or 0xFFFF at end of file.
std::uint16_t StreamRead(std::uint16_t handle, std::uint32_t position, std::uint16_t count,
                         char* buffer, std::uint16_t bufferLength);
// StreamRead into the free space of DynStrings, claiming what was read; the error descriptor 130 at
// end of file.
StrDesc StreamReadDyn(std::uint16_t handle, std::uint32_t position, std::uint16_t count);
// Writes text at position (kStreamHere: at the end) in pieces of at most 512 bytes. Gives the bytes
// written, 0xFFFF when a piece was written only in part, or the code of an error descriptor.
std::uint16_t StreamWrite(std::uint16_t handle, std::uint32_t position, StrDesc text);
// The file size (kStreamNoSize for standard streams), leaving the position unchanged.
std::uint32_t StreamSize(std::uint16_t handle);
bool StreamAtEnd(std::uint16_t handle);
// 0, or 130 when the position cannot be set.
ErrCode StreamSeek(std::uint16_t handle, std::uint32_t position);
std::uint32_t StreamPos(std::uint16_t handle);

// Opens path for update (created when missing), writes text at position (kStreamHere: at the end;
// kStreamRewrite: the file is deleted first), closes it. 0 when every byte was written, else 131
// (an empty text writes nothing and gives 131).
ErrCode FileAppendText(StrDesc path, std::uint32_t position, StrDesc text);
// Removes a file: 0, or the system's error number.
int FileDelete(StrDesc path);

// Holds the advisory lock of a file (created empty when missing) while it lives, waiting for any
// other holder, so that a read, change and replacement of the file runs alone.
class FileLock {
public:
    explicit FileLock(StrDesc path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool held() const { return lock_ >= 0; }

private:
    int lock_;
};

// File kinds of data-file companions; kFileKindLower asks for the lower-case extension.
enum FileKind : std::uint16_t {
    kFileKindPlain = 1, kFileKindFd = 2, kFileKindDir = 3, kFileKindNdx = 4, kFileKindTmp = 5,
    kFileKindTxt = 6, kFileKindLower = 128,
};
// The extension of a file kind ("", FD, DIR, NDX, TMP, TXT); empty for an unknown kind.
StrDesc FileKindExt(std::uint16_t kind);

}  // namespace rt
