// database/named_item.cpp: CNamedItem, the name, flags and entity count of a table item.
// Flags and counts are signed 32-bit words: long arguments are narrowed with toInt32 and the
// count is stepped in 64 bits, so it wraps like the 32-bit word instead of overflowing.
#include <veltcore/database/named_item.h>

#include <cstring>

#include "database/int32_cast.h"
#include "database/named_item_index.h"

using veltcore::detail::toInt32;

CNamedItem::CNamedItem(const String& name, long flags)
    : name_(name), flags_(toInt32(flags)), entities_(0) {}

CNamedItem::CNamedItem(const CNamedItem& src)
    : name_(src.name_), flags_(src.flags_), entities_(0) {}

CNamedItem::~CNamedItem() = default;

CNamedItem& CNamedItem::operator=(const CNamedItem& src) {
  if (this == &src) return *this;
  setName(src.name_);
  flags_ = src.flags_;
  entities_ = src.entities_;
  return *this;
}

// Byte comparison: a change of case alone matters too, to progressive names.
void CNamedItem::setName(const String& name) {
  if (std::strcmp(name_.c_str(), name.c_str()) != 0) veltcore::detail::noteNameChange();
  name_ = name;
}

bool CNamedItem::operator==(const CNamedItem& other) const {
  return flags_ == other.flags_ && name_.equal(other.name_);
}

void CNamedItem::setFlags(long flags) {
  flags_ = toInt32(flags);
}

void CNamedItem::setFlags(long mask, bool on) {
  const std::int32_t bits = toInt32(mask);
  flags_ = on ? (flags_ | bits) : (flags_ & ~bits);
}

void CNamedItem::addEntity() {
  entities_ = toInt32(std::int64_t{entities_} + 1);
}

void CNamedItem::decEntity() {
  entities_ = toInt32(std::int64_t{entities_} - 1);
}
