// database/colors.cpp: the colour-name table. Named colours come from the message table;
// the numbered ones are made on first request and kept until shutdown.
#include <veltcore/database/colors.h>

#include "core/text.h"

CColors* CColors::_instance = nullptr;

namespace {

struct NamedColor {
  int color;
  unsigned long messageId;
};

// By block, red ... white, and by layer.
constexpr NamedColor kNamedColors[] = {{0, 25}, {1, 26}, {2, 27}, {3, 28},  {4, 29},
                                       {5, 30}, {6, 31}, {7, 32}, {256, 24}};

}  // namespace

CColors& CColors::getInstance() {
  if (_instance == nullptr) _instance = new CColors();
  return *_instance;
}

void CColors::shutdown() {
  delete _instance;
  _instance = nullptr;
}

CColors::CColors() : names_() {
  for (const NamedColor& named : kNamedColors) {
    names_[named.color] = new String();
    names_[named.color]->LoadString(named.messageId);
  }
}

CColors::~CColors() {
  for (String* name : names_) delete name;
}

const String& CColors::operator[](int color) {
  String*& slot = names_[color];
  if (slot == nullptr) slot = new String(veltcore::text::formatInt(color).c_str());
  return *slot;
}
