// Format texts: parsed once into a flat list of operations, then rendered
// into records by one writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "console/record.hpp"
#include "console/value.hpp"

namespace amostra {

struct FormatOp {
  enum class Kind {
    Text,   // quoted text, written as it stands
    Skip,   // nX: n pending blanks
    Slash,  // end of record
    A,      // Aw (w < 0: the value's own length)
    I,      // Iw
    F,      // Fw.d
  };
  Kind kind;
  std::string text;  // Kind::Text, code page 850 bytes
  int n = 0;         // Kind::Skip: columns; data descriptors: w
  int d = 0;         // Kind::F: decimals
};

// Parses a format text such as "(1x,"*",25x,"Fc = ",F6.2, 26x, "*")" into its
// operations, groups expanded.  Quoted text is converted from UTF-8 to code
// page 850.  A malformed format is a programming error (std::logic_error).
std::vector<FormatOp> parse_format(std::string_view format);

// A format literal as cached: its operations (blanks folded into texts,
// neighbouring texts joined: the same rendering in fewer operations) and,
// when every data descriptor has a fixed width and is an I or an A, its
// whole record as a layout: the bytes with blanks where the fields go, and
// where each field starts.  Such a format is written by copying the layout
// and filling in the fields.
struct FormatField {
  std::size_t offset;
  FormatOp::Kind kind;  // I or A
  int w;
};
struct FormatEntry {
  std::vector<FormatOp> ops;
  bool fixed = false;
  std::string layout;
  std::vector<FormatField> fields;
};

// The entry of a format literal, parsed on first use and cached.  Only string
// literals (static storage) may be passed.  A small direct-mapped table in
// front of the cache answers the formats written again and again.
struct FormatSlot {
  const char* key;
  const FormatEntry* entry;
};
constexpr std::size_t kFormatSlots = 64;
extern FormatSlot format_slots[kFormatSlots];
inline std::size_t format_slot(const char* format) {
  return (reinterpret_cast<std::uintptr_t>(format) >> 3) & (kFormatSlots - 1);
}
const FormatEntry& format_entry_slow(const char* format);
inline const FormatEntry& format_entry(const char* format) {
  const FormatSlot& slot = format_slots[format_slot(format)];
  return slot.key == format ? *slot.entry : format_entry_slow(format);
}
inline const std::vector<FormatOp>& format_ops(const char* format) { return format_entry(format).ops; }

// A formatted write of a cached format: through its layout when it has one
// and every data descriptor gets a value, else as render_format.
void render_entry(Record& out, const FormatEntry& entry, std::initializer_list<Val> values);

// Renders a formatted write into `out`: one or more records, each ended by
// CR LF.  The walk stops at a data descriptor with no value left.
void render_format(Record& out, const std::vector<FormatOp>& ops, std::initializer_list<Val> values);

// Renders a list-directed write: one record.
void render_list(Record& out, std::initializer_list<Val> values);

}  // namespace amostra
