// dxf/in/insert_hatch_data.h (internal): the hatch data older DXF files carry on an INSERT as
// extended data of the application ACAD, and the reader that takes it back in the layout the
// DXF writer gives it. Reads pairs through the version reader only; creates nothing.
#pragma once

#include <initializer_list>
#include <optional>
#include <vector>

#include <veltcore/core/point.h>

#include "dxf/in/version_readers.h"

struct HATCH_TYPE;

namespace veltcore::dxfin {

// What an INSERT needs of its hatch data to become a hatch.
struct InsertHatchData {
  const HATCH_TYPE* pattern = nullptr;  // a catalogue record, never null once read
  double scale = 0.0;                   // above 0
  double angle = 0.0;                   // radians, in [0, 2*pi]
  long handle = 0;                      // the handle the data names; 0 for none
  std::vector<PNT_3D> boundary;         // both ends of every segment, in order
};

}  // namespace veltcore::dxfin

class CFileDXFIVersionReader::HatchDataReader {
 public:
  explicit HatchDataReader(CFileDXFIVersionReader& reader) : reader_(reader) {}

  // Called on a 1001 pair of an INSERT record. When it names ACAD and the next pair is
  // 1000 HATCH, the hatch data is read whole into data (left empty for data of a version this
  // reader does not know, which holds no boundary). Returns the group code of the first
  // pair read and not taken, which the record goes on with: extended data of any other kind
  // is left to the record, which ignores its groups.
  long readXData(std::optional<veltcore::dxfin::InsertHatchData>& data);

 private:
  CFileDXFIVersionReader& reader_;
  // The current pair was read ahead by peek() and is not yet taken.
  bool peeked_ = false;

  // Null for data of a version this reader does not know, which is skipped whole.
  std::optional<veltcore::dxfin::InsertHatchData> readData();
  void readR14Data(veltcore::dxfin::InsertHatchData& d);
  void readBoundary(std::vector<PNT_3D>& points);
  void skipPatternLines();
  void skipToClosingBrace();
  void skipHandles(long n);
  void skipPoint();

  // The group code of the next pair, which stays to be taken.
  long peek();
  // The next pair, which must have the given code.
  void next(long code);
  void skip(std::initializer_list<long> codes);
  double real(long code);
  // A count that decides what follows: never below 0.
  long count(long code);
  // A count or a marker the layout depends on: any other value is a layout this reader does
  // not know.
  void expectCount(long code, long n);
  void expectText(long code, const char* text);
};
