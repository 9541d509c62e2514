#include "MmioWavSink.h"

#include <stdexcept>
#include <string>

namespace {

constexpr int kChannels = 2;
constexpr WORD kIeeeFloat = 3;  // WAVE_FORMAT_IEEE_FLOAT, which the lean Windows headers leave out
constexpr DWORD kFrameBytes = kChannels * sizeof(float);

}  // namespace

MmioWavSink::MmioWavSink(const std::string& path, int sampleRateHz) : pending(path) {
  // Opened here and handed to mmio, rather than opened by mmio, so that it can be deleted while
  // open: a plug-in that crashes the process must take the temporary file with it.
  const HANDLE handle =
      CreateFileA(pending.writePath().c_str(), GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    throw std::runtime_error("cannot write " + path + ": error " + std::to_string(GetLastError()));
  MMIOINFO info{};
  info.fccIOProc = FOURCC_DOS;
  // The file functions' handles fit the 32 bits that mmio keeps of them.
  info.adwInfo[0] = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(handle));
  file = mmioOpenA(nullptr, &info, MMIO_WRITE | MMIO_ALLOCBUF);
  if (file == nullptr) {
    CloseHandle(handle);
    throw std::runtime_error("cannot write " + path);
  }

  riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
  if (mmioCreateChunk(file, &riff, MMIO_CREATERIFF) != MMSYSERR_NOERROR) fail();

  // WAVEFORMATEX with no extra bytes, as a non-PCM format is written.
  WAVEFORMATEX format{};
  format.wFormatTag = kIeeeFloat;
  format.nChannels = kChannels;
  format.nSamplesPerSec = static_cast<DWORD>(sampleRateHz);
  format.nAvgBytesPerSec = static_cast<DWORD>(sampleRateHz) * kFrameBytes;
  format.nBlockAlign = kFrameBytes;
  format.wBitsPerSample = 32;
  format.cbSize = 0;
  MMCKINFO chunk{};
  chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
  const LONG formatBytes = sizeof(WAVEFORMATEX);
  if (mmioCreateChunk(file, &chunk, 0) != MMSYSERR_NOERROR ||
      mmioWrite(file, reinterpret_cast<const char*>(&format), formatBytes) != formatBytes ||
      mmioAscend(file, &chunk, 0) != MMSYSERR_NOERROR)
    fail();

  chunk = MMCKINFO{};
  chunk.ckid = mmioFOURCC('f', 'a', 'c', 't');
  const DWORD unknown = 0;
  if (mmioCreateChunk(file, &chunk, 0) != MMSYSERR_NOERROR) fail();
  factValue = static_cast<LONG>(chunk.dwDataOffset);
  if (mmioWrite(file, reinterpret_cast<const char*>(&unknown), sizeof unknown) != sizeof unknown ||
      mmioAscend(file, &chunk, 0) != MMSYSERR_NOERROR)
    fail();

  data.ckid = mmioFOURCC('d', 'a', 't', 'a');
  if (mmioCreateChunk(file, &data, 0) != MMSYSERR_NOERROR) fail();
}

MmioWavSink::~MmioWavSink() {
  if (file != nullptr) mmioClose(file, 0);
}

void MmioWavSink::fail() {
  mmioClose(file, 0);
  file = nullptr;
  throw std::runtime_error("cannot write " + pending.finalPath());
}

void MmioWavSink::write(const float* samples, int64_t count) {
  if (frames + count > kMaxFrames)
    throw std::runtime_error("cannot write " + pending.finalPath() +
                             ": a WAV file written here holds at most 2 GiB of samples");
  const auto bytes = static_cast<LONG>(count * kFrameBytes);
  if (mmioWrite(file, reinterpret_cast<const char*>(samples), bytes) != bytes) fail();
  frames += count;
}

void MmioWavSink::commit() {
  // Ascending from a chunk made by mmioCreateChunk writes its true size, from the position at
  // the chunk's end; the fact chunk's frame count is written last, where it was left open.
  const auto frameCount = static_cast<DWORD>(frames);
  if (mmioAscend(file, &data, 0) != MMSYSERR_NOERROR ||
      mmioAscend(file, &riff, 0) != MMSYSERR_NOERROR ||
      mmioSeek(file, factValue, SEEK_SET) != factValue ||
      mmioWrite(file, reinterpret_cast<const char*>(&frameCount), sizeof frameCount) !=
          sizeof frameCount)
    fail();
  const MMRESULT closed = mmioClose(file, 0);
  file = nullptr;
  if (closed != MMSYSERR_NOERROR) throw std::runtime_error("cannot write " + pending.finalPath());
  pending.commit();
}
