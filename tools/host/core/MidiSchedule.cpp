#include "MidiSchedule.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <stdexcept>

#include "NumberText.h"

namespace {

constexpr unsigned char kNoteOn = 0x90;
constexpr unsigned char kNoteOff = 0x80;

std::vector<std::string> splitColons(const std::string& text) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == ':')
      parts.emplace_back();
    else
      parts.back() += c;
  }
  return parts;
}

std::string secondsText(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g s", seconds);
  return text;
}

}  // namespace

NoteSpec MidiSchedule::parseNote(const std::string& text) {
  const std::string prefix = "bad note '" + text + "': ";
  const std::vector<std::string> parts = splitColons(text);
  if (parts.size() != 4)
    throw std::runtime_error(prefix + "expected START:END:KEY:VELOCITY, e.g. 0.5:2.0:60:100");
  NoteSpec note{0.0, 0.0, 0, 0, text};
  long key = 0;
  long velocity = 0;
  if (!parseDecimal(parts[0], &note.startSeconds) || note.startSeconds < 0.0)
    throw std::runtime_error(prefix + "start '" + parts[0] + "' is not a time in seconds");
  if (!parseDecimal(parts[1], &note.endSeconds) || note.endSeconds < 0.0)
    throw std::runtime_error(prefix + "end '" + parts[1] + "' is not a time in seconds");
  if (note.endSeconds <= note.startSeconds)
    throw std::runtime_error(prefix + "it ends before it starts");
  if (!parseInteger(parts[2], &key) || key < 0 || key > 127)
    throw std::runtime_error(prefix + "key '" + parts[2] + "' is not a whole number 0..127");
  if (!parseInteger(parts[3], &velocity) || velocity < 1 || velocity > 127)
    throw std::runtime_error(prefix + "velocity '" + parts[3] + "' is not a whole number 1..127");
  note.key = static_cast<int>(key);
  note.velocity = static_cast<int>(velocity);
  return note;
}

MidiSchedule::MidiSchedule(const std::vector<NoteSpec>& notes, int sampleRateHz,
                           int64_t fileFrames) {
  for (const NoteSpec& note : notes) {
    const auto start = static_cast<int64_t>(std::llround(note.startSeconds * sampleRateHz));
    const auto end = static_cast<int64_t>(std::llround(note.endSeconds * sampleRateHz));
    const std::string prefix = "note '" + note.text + "' ";
    if (end >= fileFrames)
      throw std::runtime_error(prefix + "lies outside the file (" +
                               secondsText(static_cast<double>(fileFrames) / sampleRateHz) + ", " +
                               std::to_string(fileFrames) + " frames)");
    if (end == start) throw std::runtime_error(prefix + "is shorter than one frame");
    const auto key = static_cast<unsigned char>(note.key);
    sorted.push_back({start, kNoteOn, key, static_cast<unsigned char>(note.velocity)});
    sorted.push_back({end, kNoteOff, key, 0});
  }
  std::stable_sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
    if (a.frame != b.frame) return a.frame < b.frame;
    return a.status == kNoteOff && b.status == kNoteOn;
  });

  // Room for every event at once, so that no block needs to allocate.
  midi.resize(sorted.size());
  // The list ends in an array of event pointers.
  // NOLINTNEXTLINE(bugprone-sizeof-expression)
  const size_t bytes = offsetof(VstEvents, events) + sizeof(VstEvent*) * (sorted.size() + 2);
  list.reset(new VstIntPtr[(bytes + sizeof(VstIntPtr) - 1) / sizeof(VstIntPtr)]());
}

VstEvents* MidiSchedule::eventsForBlock(int64_t start, int frames) {
  auto* header = reinterpret_cast<VstEvents*>(list.get());
  auto** slots = reinterpret_cast<VstEvent**>(reinterpret_cast<char*>(list.get()) +
                                              offsetof(VstEvents, events));
  VstInt32 count = 0;
  while (next < sorted.size() && sorted[next].frame < start + frames) {
    const Event& event = sorted[next++];
    VstMidiEvent& out = midi[static_cast<size_t>(count)];
    out = VstMidiEvent{};
    out.type = kVstMidiType;
    out.byteSize = sizeof(VstMidiEvent) - 8;
    out.deltaFrames = static_cast<VstInt32>(event.frame - start);
    out.midiData[0] = static_cast<char>(event.status);
    out.midiData[1] = static_cast<char>(event.key);
    out.midiData[2] = static_cast<char>(event.velocity);
    slots[count++] = reinterpret_cast<VstEvent*>(&out);
  }
  if (count == 0) return nullptr;
  header->numEvents = count;
  header->reserved = 0;
  return header;
}
