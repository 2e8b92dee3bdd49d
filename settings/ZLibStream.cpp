#include "settings/ZLibStream.h"

#include <cstring>
#include <new>
#include <vector>
#include <zlib.h>

#include "settings/ConfigLoad.h"
#include "settings/ConfigSave.h"

struct BZLibStream::OpenState {
  z_stream Z;
  int Result = Z_OK;
  bool EndOfInput = false;
  bool ZlibReady = false;
  BConfigSave* Writer = nullptr;
  BConfigLoad* Reader = nullptr;
  std::vector<uint8_t> Buffer;  // output when writing, input when reading
  uLong Crc = 0;
  char Mode = 0;
  uint32_t InCount = 0;  // uncompressed bytes, wrapping like the trailer's length
  uint32_t OutCount = 0;
};

BZLibStream::BZLibStream() = default;

BZLibStream::~BZLibStream()
{
  Close();
}

std::unique_ptr<BZLibStream::OpenState> BZLibStream::NewState(char mode)
{
  auto s = std::unique_ptr<OpenState>(new (std::nothrow) OpenState);
  if (!s)
    return nullptr;
  std::memset(&s->Z, 0, sizeof s->Z);
  s->Crc = crc32(0L, Z_NULL, 0);
  s->Mode = mode;
  try {
    s->Buffer.resize(BufferSize);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  return s;
}

int BZLibStream::Open(BConfigSave* container)
{
  if (!container || State)
    return 0;
  auto s = NewState('w');
  if (!s)
    return 0;
  s->Writer = container;
  if (deflateInit2(&s->Z, Level, Z_DEFLATED, -MAX_WBITS, MemLevel, Strategy) != Z_OK)
    return 0;
  s->ZlibReady = true;
  s->Z.next_out = s->Buffer.data();
  s->Z.avail_out = BufferSize;
  State = std::move(s);
  return 1;
}

int BZLibStream::Open(BConfigLoad* container)
{
  if (!container || State)
    return 0;
  auto s = NewState('r');
  if (!s)
    return 0;
  s->Reader = container;
  s->Z.next_in = s->Buffer.data();
  s->Z.avail_in = 0;
  if (inflateInit2(&s->Z, -MAX_WBITS) != Z_OK)
    return 0;
  s->ZlibReady = true;
  s->Z.avail_out = BufferSize;
  State = std::move(s);
  return 1;
}

int BZLibStream::PutRaw(const uint8_t* buffer, int n)
{
  return State->Writer->WriteScrambled(buffer, n);
}

int BZLibStream::GetRaw(uint8_t* buffer, int n)
{
  return State->Reader->ReadScrambled(buffer, n);
}

int BZLibStream::Write(const void* buffer, int n)
{
  if (!State || State->Mode != 'w')
    return Z_STREAM_ERROR;
  if (n <= 0)
    return 0;
  OpenState& s = *State;
  s.Z.next_in = static_cast<Bytef*>(const_cast<void*>(buffer));
  s.Z.avail_in = static_cast<uInt>(n);
  while (s.Z.avail_in != 0) {
    if (s.Z.avail_out == 0) {
      s.Z.next_out = s.Buffer.data();
      if (PutRaw(s.Buffer.data(), BufferSize) != BufferSize) {
        s.Result = Z_ERRNO;
        break;
      }
      s.Z.avail_out = BufferSize;
    }
    s.InCount += s.Z.avail_in;
    s.OutCount += s.Z.avail_out;
    s.Result = deflate(&s.Z, Z_NO_FLUSH);
    s.InCount -= s.Z.avail_in;
    s.OutCount -= s.Z.avail_out;
    if (s.Result != Z_OK)
      break;
  }
  s.Crc = crc32(s.Crc, static_cast<const Bytef*>(buffer), static_cast<uInt>(n));
  const int left = static_cast<int>(s.Z.avail_in);
  s.Z.next_in = Z_NULL;
  s.Z.avail_in = 0;
  return n - left;
}

int BZLibStream::DoFlush(int flush)
{
  if (!State || State->Mode != 'w')
    return Z_STREAM_ERROR;
  OpenState& s = *State;
  s.Z.avail_in = 0;
  bool done = false;
  for (;;) {
    const int pending = BufferSize - static_cast<int>(s.Z.avail_out);
    if (pending != 0) {
      if (PutRaw(s.Buffer.data(), pending) != pending) {
        s.Result = Z_ERRNO;
        return Z_ERRNO;
      }
      s.Z.next_out = s.Buffer.data();
      s.Z.avail_out = BufferSize;
    }
    if (done)
      break;
    s.OutCount += s.Z.avail_out;
    s.Result = deflate(&s.Z, flush);
    s.OutCount -= s.Z.avail_out;
    // A second flush in a row has nothing to do, which deflate reports as a buffer error.
    if (pending == 0 && s.Result == Z_BUF_ERROR)
      s.Result = Z_OK;
    // Deflate has finished only when it left room in the output buffer.
    done = s.Z.avail_out != 0 || s.Result == Z_STREAM_END;
    if (s.Result != Z_OK && s.Result != Z_STREAM_END)
      break;
  }
  return s.Result == Z_STREAM_END ? Z_OK : s.Result;
}

int BZLibStream::Flush()
{
  return DoFlush(Z_SYNC_FLUSH);
}

void BZLibStream::PutLong(uint32_t value)
{
  uint8_t bytes[4];
  for (int i = 0; i < 4; ++i)
    bytes[i] = static_cast<uint8_t>(value >> (8 * i));
  PutRaw(bytes, 4);
}

int BZLibStream::GetByte()
{
  OpenState& s = *State;
  if (s.EndOfInput)
    return -1;
  if (s.Z.avail_in == 0) {
    const int got = GetRaw(s.Buffer.data(), BufferSize);
    if (got <= 0) {
      s.EndOfInput = true;
      return -1;
    }
    s.Z.avail_in = static_cast<uInt>(got);
    s.Z.next_in = s.Buffer.data();
  }
  s.Z.avail_in--;
  return *s.Z.next_in++;
}

uint32_t BZLibStream::GetLong()
{
  uint32_t x = 0;
  for (int i = 0; i < 4; ++i) {
    const int c = GetByte();
    // Once the input has ended every later byte is missing too, so the last one tells.
    if (c == -1) {
      State->Result = Z_DATA_ERROR;
      break;
    }
    x |= static_cast<uint32_t>(c) << (8 * i);
  }
  return x;
}

int BZLibStream::Read(void* buffer, int n)
{
  if (!State || State->Mode != 'r')
    return Z_STREAM_ERROR;
  OpenState& s = *State;
  if (s.Result == Z_DATA_ERROR || s.Result == Z_ERRNO)
    return -1;
  if (s.Result == Z_STREAM_END || n <= 0)
    return 0;
  Bytef* const out = static_cast<Bytef*>(buffer);
  Bytef* start = out;  // bytes from here on are not yet in the CRC
  s.Z.next_out = out;
  s.Z.avail_out = static_cast<uInt>(n);
  while (s.Z.avail_out != 0) {
    if (s.Z.avail_in == 0 && !s.EndOfInput) {
      const int got = GetRaw(s.Buffer.data(), BufferSize);
      if (got <= 0)
        s.EndOfInput = true;
      s.Z.avail_in = got > 0 ? static_cast<uInt>(got) : 0;
      s.Z.next_in = s.Buffer.data();
    }
    s.InCount += s.Z.avail_in;
    s.OutCount += s.Z.avail_out;
    s.Result = inflate(&s.Z, Z_NO_FLUSH);
    s.InCount -= s.Z.avail_in;
    s.OutCount -= s.Z.avail_out;
    if (s.Result == Z_STREAM_END) {
      s.Crc = crc32(s.Crc, start, static_cast<uInt>(s.Z.next_out - start));
      start = s.Z.next_out;
      if (GetLong() != s.Crc)
        s.Result = Z_DATA_ERROR;
      else
        GetLong();  // the length is not compared
    }
    if (s.Result != Z_OK || s.EndOfInput)
      break;
  }
  s.Crc = crc32(s.Crc, start, static_cast<uInt>(s.Z.next_out - start));
  const int delivered = n - static_cast<int>(s.Z.avail_out);
  s.Z.next_out = Z_NULL;
  s.Z.avail_out = 0;
  if (delivered == 0 && (s.Result == Z_DATA_ERROR || s.Result == Z_ERRNO))
    return -1;
  return delivered;
}

int BZLibStream::Close()
{
  if (!State)
    return Z_STREAM_ERROR;
  if (State->Mode == 'w') {
    if (DoFlush(Z_FINISH) != Z_OK)
      return Destroy();
    PutLong(static_cast<uint32_t>(State->Crc));
    PutLong(State->InCount);
  }
  return Destroy();
}

int BZLibStream::Destroy()
{
  if (!State)
    return Z_STREAM_ERROR;
  int err = Z_OK;
  if (State->ZlibReady)
    err = State->Mode == 'w' ? deflateEnd(&State->Z) : inflateEnd(&State->Z);
  if (State->Result < 0)
    err = State->Result;
  State.reset();
  return err;
}
