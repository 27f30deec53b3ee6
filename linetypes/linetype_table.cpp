// linetypes/linetype_table.cpp: CLtypeTable, the listed linetypes of a drawing and the lookup
// that answers the three built-in names first. The built-ins belong to the drawing.
#include <veltcore/linetypes/linetype.h>

#include "core/text.h"

CLtypeTable::CLtypeTable(CLtypeContinuous& continuous, CLtypeByLayer& byLayer,
                         CLtypeByBlock& byBlock)
    : continuous_(continuous), byLayer_(byLayer), byBlock_(byBlock) {}

// Every listed item came in through add(CLtype*), so the downcasts below are exact.
CLtype* CLtypeTable::get(const String& name) const {
  using veltcore::text::equalNoCase;
  if (equalNoCase(name.c_str(), "continuous")) return &continuous_;
  if (equalNoCase(name.c_str(), "bylayer")) return &byLayer_;
  if (equalNoCase(name.c_str(), "byblock")) return &byBlock_;
  return static_cast<CLtype*>(CNamedItemTableImp::get(name));
}

CLtype* CLtypeTable::operator[](int i) const {
  return static_cast<CLtype*>(CNamedItemTableImp::operator[](i));
}
