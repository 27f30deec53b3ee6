// tests/database/test_insert.h: a block reference for tests of blocks, the block graph and the
// drawing, usable before the library's full insert entity exists. It counts its destructions.
#pragma once

#include <veltcore/entities/insert.h>

#include <vector>

class TestInsert : public CEntInsert {
 public:
  // Every destroyed TestInsert appends its user data here, so tests can see the order.
  static std::vector<long>& destroyed() {
    static std::vector<long> log;
    return log;
  }

  TestInsert(CBlock* block, const PNT_3D& at, CLayer* layer = nullptr, CLtype* ltype = nullptr,
             long handle = 0)
      : CEntInsert(handle, layer, ltype, 256, block, at, 1, 1, 1, 0, 1, 1, 0, 0) {}
  ~TestInsert() override { destroyed().push_back(getUserData()); }

  void setMemento(CData&, const IEntDerivedMemento*) override {}
  IEntDerivedMemento* createDerivedMemento() const override { return nullptr; }

 protected:
  CEnt* clone(IHandleGestor&, CEntFactory&, CBlockFactory&, CBlockTable&,
              long handle) const override {
    return new TestInsert(getBlock(), getPnt(), getLayer(), getLtype(), handle);
  }
};
