// LZ32 on POSIX: opening, naming and expanding SZDD files.

#include "../logic/expanded_name.h"
#include "../logic/szdd_decoder.h"
#include "../win32.h"
#include "file_io.h"
#include "host_path.h"
#include "lz_files.h"
#include "win32_error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <new>
#include <span>
#include <string>
#include <sys/stat.h>

namespace {

using zor::posix::LzFile;
using zor::posix::LzFileTable;
using zor::posix::UniqueFd;
namespace szdd = zor::szdd;

constexpr std::size_t kReadBlock = 128 * 1024;
constexpr WORD kUnsupportedStyles = OF_PARSE | OF_DELETE | OF_VERIFY | OF_CANCEL | OF_PROMPT | OF_EXIST | OF_REOPEN;

void FillOpenInfo(LPOFSTRUCT info, const char *path, DWORD error)
{
    if (info == nullptr)
        return;
    std::memset(info, 0, sizeof *info);
    info->cBytes = static_cast<BYTE>(sizeof *info);
    info->fFixedDisk = 1;
    info->nErrCode = static_cast<WORD>(error);
    if (path != nullptr) {
        std::size_t length = std::strlen(path);
        if (length >= OFS_MAXPATHNAME) {
            length = OFS_MAXPATHNAME - 1;
            while (length > 0 && (static_cast<unsigned char>(path[length]) & 0xC0) == 0x80)
                length--;
        }
        std::memcpy(info->szPathName, path, length);
    }
}

// Opens a file for reading and reads what may be its header.
INT OpenForReading(const std::string &path, LzFile &file)
{
    file.fd.Reset(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.fd.Valid()) {
        zor::posix::SetLastErrorFromErrno();
        return LZERROR_BADINHANDLE;
    }
    struct stat info {};
    if (fstat(file.fd.Get(), &info) != 0 || S_ISDIR(info.st_mode)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return LZERROR_BADINHANDLE;
    }
    ssize_t got = zor::posix::ReadFull(file.fd.Get(), file.start.data(), file.start.size());
    if (got < 0) {
        zor::posix::SetLastErrorFromErrno();
        return LZERROR_READ;
    }
    file.readable = true;
    switch (szdd::ParseHeader({file.start.data(), static_cast<std::size_t>(got)}, file.header)) {
    case szdd::HeaderStatus::Ok:
        file.compressed = true;
        return 0;
    case szdd::HeaderStatus::NotCompressed:
        file.startSize = static_cast<std::size_t>(got);
        return 0;
    case szdd::HeaderStatus::Truncated:
        SetLastError(ERROR_READ_FAULT);
        return LZERROR_READ;
    case szdd::HeaderStatus::UnknownMode:
        SetLastError(ERROR_INVALID_PARAMETER);
        return LZERROR_UNKNOWNALG;
    }
    return LZERROR_READ;
}

INT OpenForWriting(const std::string &path, WORD style, LzFile &file)
{
    bool both = (style & 0x3) == OF_READWRITE;
    int flags = (both ? O_RDWR : O_WRONLY) | O_CLOEXEC;
    if ((style & OF_CREATE) != 0)
        flags |= O_CREAT | O_TRUNC;
    file.fd.Reset(open(path.c_str(), flags, 0666));
    if (!file.fd.Valid()) {
        zor::posix::SetLastErrorFromErrno();
        return LZERROR_BADINHANDLE;
    }
    file.writable = true;
    file.readable = both;
    return 0;
}

LONG CopyResult(std::uint64_t written)
{
    return static_cast<LONG>(std::min<std::uint64_t>(written, std::numeric_limits<LONG>::max()));
}

class Writer {
  public:
    explicit Writer(int fd) : fd_(fd) {}
    bool Write(std::span<const std::uint8_t> data)
    {
        if (data.empty())
            return true;
        if (zor::posix::WriteAll(fd_, data.data(), data.size())) {
            written_ += data.size();
            return true;
        }
        if (errno == EFBIG)
            guard_.NoteFileTooLarge();
        zor::posix::SetLastErrorFromErrno();
        return false;
    }
    std::uint64_t Written() const { return written_; }

  private:
    zor::posix::FileSizeSignalGuard guard_;
    int fd_;
    std::uint64_t written_ = 0;
};

// Buffers no larger than the file needs: a short file touches little memory.
std::size_t ReadBlockFor(const LzFile &file)
{
    struct stat info {};
    if (fstat(file.fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return kReadBlock;
    return std::clamp<std::size_t>(static_cast<std::size_t>(info.st_size), 1, kReadBlock);
}

// The most that a stream of `size` bytes can expand to: a control byte and
// eight matches of 18 bytes in every 17 bytes.
std::size_t ExpansionBound(const LzFile &file)
{
    struct stat info {};
    if (fstat(file.fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return szdd::Decoder::kBlockSize;
    auto size = static_cast<std::uint64_t>(info.st_size);
    return static_cast<std::size_t>(
        std::min<std::uint64_t>({size / 17 * 144 + 144, file.header.length, szdd::Decoder::kBlockSize}));
}

LONG CopyPlain(LzFile &source, int destination)
{
    const std::size_t block = ReadBlockFor(source);
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[block]);
    Writer writer(destination);
    if (!writer.Write({source.start.data(), source.startSize}))
        return LZERROR_WRITE;
    source.startSize = 0;
    for (;;) {
        ssize_t got = zor::posix::ReadFull(source.fd.Get(), buffer.get(), block);
        if (got < 0) {
            zor::posix::SetLastErrorFromErrno();
            return LZERROR_READ;
        }
        if (got == 0)
            break;
        if (!writer.Write({buffer.get(), static_cast<std::size_t>(got)}))
            return LZERROR_WRITE;
    }
    return CopyResult(writer.Written());
}

LONG CopyExpanded(LzFile &source, int destination)
{
    const std::size_t block = ReadBlockFor(source);
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[block]);
    szdd::Decoder decoder(source.header.length, ExpansionBound(source));
    Writer writer(destination);
    for (;;) {
        ssize_t got = zor::posix::ReadFull(source.fd.Get(), buffer.get(), block);
        if (got < 0) {
            zor::posix::SetLastErrorFromErrno();
            return LZERROR_READ;
        }
        if (got == 0)
            break;
        std::span<const std::uint8_t> input(buffer.get(), static_cast<std::size_t>(got));
        while (!input.empty()) {
            input = input.subspan(decoder.Feed(input));
            if (decoder.Overrun()) {
                SetLastError(ERROR_READ_FAULT);
                return LZERROR_READ;
            }
            if (decoder.OutputFull()) {
                if (!writer.Write(decoder.Output()))
                    return LZERROR_WRITE;
                decoder.TakeOutput();
            }
        }
    }
    if (!writer.Write(decoder.Output()))
        return LZERROR_WRITE;
    decoder.TakeOutput();
    if (decoder.Finish() != szdd::DecodeStatus::Ok) {
        SetLastError(ERROR_READ_FAULT);
        return LZERROR_READ;
    }
    return CopyResult(writer.Written());
}

} // namespace

extern "C" INT WINAPI LZOpenFileA(LPSTR lpFileName, LPOFSTRUCT lpReOpenBuf, WORD wStyle)
{
    if ((wStyle & kUnsupportedStyles) != 0 || lpFileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        FillOpenInfo(lpReOpenBuf, lpFileName, ERROR_INVALID_PARAMETER);
        return LZERROR_BADVALUE;
    }
    std::optional<std::string> path = zor::posix::HostPath(lpFileName);
    if (!path) {
        FillOpenInfo(lpReOpenBuf, lpFileName, GetLastError());
        return LZERROR_BADINHANDLE;
    }

    LzFile file;
    bool reading = (wStyle & OF_CREATE) == 0 && (wStyle & 0x3) == OF_READ;
    INT result = reading ? OpenForReading(*path, file) : OpenForWriting(*path, wStyle, file);
    if (result < 0) {
        FillOpenInfo(lpReOpenBuf, lpFileName, GetLastError());
        return result;
    }
    int handle = LzFileTable::Instance().Add(std::move(file));
    if (handle < 0) {
        SetLastError(ERROR_TOO_MANY_OPEN_FILES);
        FillOpenInfo(lpReOpenBuf, lpFileName, ERROR_TOO_MANY_OPEN_FILES);
        return LZERROR_GLOBALLOC;
    }
    FillOpenInfo(lpReOpenBuf, lpFileName, ERROR_SUCCESS);
    return handle;
}

extern "C" INT WINAPI GetExpandedNameA(LPSTR lpszSource, LPSTR lpszBuffer)
{
    if (lpszSource == nullptr || lpszBuffer == nullptr)
        return LZERROR_BADVALUE;
    std::optional<std::string> path = zor::posix::HostPath(lpszSource);
    if (!path)
        return LZERROR_BADVALUE;
    LzFile file;
    if (OpenForReading(*path, file) < 0)
        return LZERROR_BADVALUE;

    std::optional<std::string> expanded = file.compressed
                                              ? zor::logic::ExpandedPath(lpszSource, file.header.missingChar)
                                              : std::optional<std::string>(lpszSource);
    if (!expanded) {
        SetLastError(ERROR_INVALID_NAME);
        return LZERROR_BADVALUE;
    }
    std::memmove(lpszBuffer, expanded->c_str(), expanded->size() + 1);
    return TRUE;
}

extern "C" LONG WINAPI LZCopy(INT hfSource, INT hfDest)
{
    LzFileTable &table = LzFileTable::Instance();
    LzFile *source = table.Find(hfSource);
    if (source == nullptr || !source->readable) {
        SetLastError(ERROR_INVALID_HANDLE);
        return LZERROR_BADINHANDLE;
    }
    LzFile *destination = table.Find(hfDest);
    if (destination == nullptr || !destination->writable) {
        SetLastError(ERROR_INVALID_HANDLE);
        return LZERROR_BADOUTHANDLE;
    }
    try {
        return source->compressed ? CopyExpanded(*source, destination->fd.Get())
                                  : CopyPlain(*source, destination->fd.Get());
    } catch (const std::bad_alloc &) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return LZERROR_GLOBALLOC;
    }
}

extern "C" void WINAPI LZClose(INT hFile)
{
    LzFileTable::Instance().Remove(hFile);
}
