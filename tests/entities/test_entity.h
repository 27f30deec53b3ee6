// tests/entities/test_entity.h: TestPnt, a point entity for tests of anything that holds
// entities (type code 1001, no visitor slot), with its snapshot and a factory that books handles
// for it as the library's create operations do. TestPnt::live() counts objects not yet deleted.
#pragma once

#include <veltcore/core/point.h>
#include <veltcore/entities/entity.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/memento.h>

class TestPntMemento : public IEntDerivedMemento {
 public:
  explicit TestPntMemento(const PNT_3D& p) : p_(p) {}
  bool operator==(const CEnt& e) const override;
  bool operator!=(const CEnt& e) const override { return !(*this == e); }
  long size() const override { return static_cast<long>(sizeof *this); }
  const PNT_3D& getPnt() const { return p_; }

 private:
  PNT_3D p_;
};

class TestPnt : public CEnt {
 public:
  static constexpr short kType = 1001;

  static long& live() {
    static long count = 0;
    return count;
  }

  TestPnt(long handle, CLayer* layer, CLtype* ltype, short color, const PNT_3D& p)
      : CEnt(handle, layer, ltype, color), p_(p) {
    calcBdry();
    ++live();
  }
  TestPnt(const TestPnt& src, long handle) : CEnt(src, handle), p_(src.p_) { ++live(); }
  ~TestPnt() override { --live(); }

  using CEnt::setMemento;
  // There is no visit slot for a test class.
  void accept(IEntVisitor&) override {}
  void setMemento(CData&, const IEntDerivedMemento* m) override {
    setPnt(static_cast<const TestPntMemento*>(m)->getPnt());
  }
  short getType() const override { return kType; }
  void calcBdry() override { getBdry().set(p_, p_); }
  IEntDerivedMemento* createDerivedMemento() const override { return new TestPntMemento(p_); }

  const PNT_3D& getPnt() const { return p_; }
  void setPnt(const PNT_3D& p) {
    p_ = p;
    calcBdry();
  }

 protected:
  CEnt* clone(IHandleGestor&, CEntFactory&, CBlockFactory&, CBlockTable&,
              long handle) const override {
    return new TestPnt(*this, handle);
  }

 private:
  PNT_3D p_;
};

inline bool TestPntMemento::operator==(const CEnt& e) const {
  return static_cast<const TestPnt&>(e).getPnt() == p_;
}

// Creates TestPnts the way the library's parameter-form create operations do.
class TestEntFactory : public CEntFactory {
 public:
  TestPnt* createTestPnt(IHandleGestor& g, CLayer* layer, CLtype* ltype, short color,
                         const PNT_3D& p, long handle) {
    bookHandle(g, handle);
    return new TestPnt(handle, layer, ltype, color, p);
  }
};
