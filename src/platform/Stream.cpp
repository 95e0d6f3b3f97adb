#include "platform/Stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>

#include "platform/AnsiCodePage.h"
#include "platform/Exceptions.h"
#include "platform/OSError.h"

// ---- TStream ----------------------------------------------------------------------------

void TStream::ReadBuffer(void* Buffer, int64_t Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError("Stream write error");
}

int64_t TStream::Position() {
  return Seek(0, soCurrent);
}

void TStream::SetPosition(int64_t Pos) {
  Seek(Pos, soBeginning);
}

int64_t TStream::Size() {
  int64_t position = Seek(0, soCurrent);
  int64_t size = Seek(0, soEnd);
  Seek(position, soBeginning);
  return size;
}

// A stream whose size is fixed by its nature ignores the request.
void TStream::SetSize(int64_t NewSize) {
  (void)NewSize;
}

int64_t TStream::CopyFrom(TStream* Source, int64_t Count) {
  if (Count <= 0) {
    Source->SetPosition(0);
    Count = Source->Size();
  }
  constexpr int64_t kChunk = 64 * 1024;
  std::vector<uint8_t> buffer(static_cast<size_t>(std::min(Count, kChunk)));
  for (int64_t left = Count; left > 0;) {
    int64_t n = std::min(left, kChunk);
    Source->ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    left -= n;
  }
  return Count;
}

// ---- TMemoryStream ----------------------------------------------------------------------

int64_t TMemoryStream::Read(void* Buffer, int64_t Count) {
  int64_t available = Size() - FPosition;
  if (FPosition < 0 || Count <= 0 || available <= 0) return 0;
  int64_t n = std::min(Count, available);
  std::memcpy(Buffer, FData.data() + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count) {
  if (FPosition < 0 || Count <= 0) return 0;
  int64_t end = FPosition + Count;
  if (end > Size()) {
    int64_t position = FPosition;
    SetSize(end);
    FPosition = position;
  }
  std::memcpy(FData.data() + FPosition, Buffer, static_cast<size_t>(Count));
  FPosition = end;
  return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  switch (Origin) {
    case soBeginning:
      FPosition = Offset;
      break;
    case soCurrent:
      FPosition += Offset;
      break;
    case soEnd:
      FPosition = Size() + Offset;
      break;
  }
  return FPosition;
}

void TMemoryStream::SetSize(int64_t NewSize) {
  if (NewSize < 0) NewSize = 0;
  try {
    FData.resize(static_cast<size_t>(NewSize));
  } catch (const std::bad_alloc&) {
    throw EStreamError("Out of memory while expanding memory stream");
  } catch (const std::length_error&) {
    throw EStreamError("Out of memory while expanding memory stream");
  }
  if (FPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::Clear() {
  FData.clear();
  FData.shrink_to_fit();
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  Stream->SetPosition(0);
  int64_t count = Stream->Size();
  SetSize(count);
  FPosition = 0;
  Stream->ReadBuffer(FData.data(), count);
}

void TMemoryStream::SaveToStream(TStream* Stream) {
  Stream->WriteBuffer(FData.data(), Size());
}

void TMemoryStream::LoadFromFile(const std::string& FileName) {
  TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&file);
}

void TMemoryStream::SaveToFile(const std::string& FileName) {
  TFileStream file(FileName, fmCreate);
  SaveToStream(&file);
}

// ---- TFileStream ------------------------------------------------------------------------

namespace {

int OpenFlags(uint16_t Mode) {
  if ((Mode & fmCreate) == fmCreate) {
    int flags = O_RDWR | O_CREAT | O_TRUNC;
    if (Mode & fmExclusive) flags |= O_EXCL;
    return flags;
  }
  switch (Mode & 0x0003) {
    case fmOpenWrite:
      return O_WRONLY;
    case fmOpenReadWrite:
      return O_RDWR;
    default:
      return O_RDONLY;
  }
}

std::string OpenFailure(const char* what, const std::string& FileName, int error) {
  // Messages are Windows-1252 text; the file name is UTF-8.
  return std::string(what) + " \"" + Utf8ToAnsi(FileName) + "\". " + SysErrorMessage(error);
}

}  // namespace

TFileStream::TFileStream(const std::string& FileName, uint16_t Mode) : FFileName(FileName) {
  const bool create = (Mode & fmCreate) == fmCreate;
  do {
    FHandle = ::open(FileName.c_str(), OpenFlags(Mode) | O_CLOEXEC, 0666);
  } while (FHandle < 0 && errno == EINTR);
  if (FHandle < 0) {
    int error = errno;
    if (create) throw EFCreateError(OpenFailure("Cannot create file", FileName, error));
    throw EFOpenError(OpenFailure("Cannot open file", FileName, error));
  }
  struct stat info {};
  if (::fstat(FHandle, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(FHandle);
    FHandle = -1;
    throw EFOpenError(OpenFailure("Cannot open file", FileName, EISDIR));
  }
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

int64_t TFileStream::Read(void* Buffer, int64_t Count) {
  auto* bytes = static_cast<uint8_t*>(Buffer);
  int64_t done = 0;
  while (done < Count) {
    ssize_t n = ::read(FHandle, bytes + done, static_cast<size_t>(Count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Write(const void* Buffer, int64_t Count) {
  const auto* bytes = static_cast<const uint8_t*>(Buffer);
  int64_t done = 0;
  while (done < Count) {
    ssize_t n = ::write(FHandle, bytes + done, static_cast<size_t>(Count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  return ::lseek(FHandle, static_cast<off_t>(Offset), whence);
}

void TFileStream::SetSize(int64_t NewSize) {
  Seek(NewSize, soBeginning);
  int result;
  do {
    result = ::ftruncate(FHandle, static_cast<off_t>(NewSize));
  } while (result < 0 && errno == EINTR);
  if (result < 0) RaiseLastOSError();
}
