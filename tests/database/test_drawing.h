// tests/database/test_drawing.h: a drawing owned by a unique_ptr that deletes it with
// deleteData, for tests that build drawings.
#pragma once

#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>

#include <memory>

struct DataDeleter {
  void operator()(CData* d) const { deleteData(d); }
};
using DataPtr = std::unique_ptr<CData, DataDeleter>;

// A new drawing from the default factory; handling off gives every entity handle 0.
inline DataPtr newDrawing(bool handling = true) {
  CDataFactory factory;
  factory.setHandling(handling);
  return DataPtr(factory.createData());
}
