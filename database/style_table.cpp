// database/style_table.cpp: CStyleTable, the owned styles of a drawing with the standard style
// first. Creating a table creates the font table instance if there is none yet, because the
// standard style takes the process's default font.
#include <veltcore/database/style.h>
#include <veltcore/geometry/font.h>

#include <memory>

CStyleTable::CStyleTable() : standard_(nullptr) {
  auto standard = std::make_unique<CStyleStandard>(CFontTable::getInstance().getDefault(), 0.0, 1.0,
                                                   0.0, 2.5, 0);
  CNamedItemTableImp::add(standard.get());
  standard_ = standard.release();
}

// Every listed item came in through add(CStyle*), so the downcasts below are exact.
CStyle* CStyleTable::get(const String& name) const {
  return static_cast<CStyle*>(CNamedItemTableImp::get(name));
}

void CStyleTable::clearAll() {
  CNamedItemTableImp::clearAll();
  standard_ = nullptr;
}

CStyle* CStyleTable::operator[](int i) const {
  return static_cast<CStyle*>(CNamedItemTableImp::operator[](i));
}
