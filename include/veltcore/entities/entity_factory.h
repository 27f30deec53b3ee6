// veltcore/entities/entity_factory.h: CEntFactory, through which every entity is created, copied
// or cloned with a handle from the drawing's handle manager.
// Every result belongs to the caller and is in no table; its handle is booked, not yet in use.
#pragma once

#include <new>
#include <utility>
#include <vector>

#include <veltcore/entities/visitor.h>

class ARC_3D;
class CBlock;
class CBlockFactory;
class CBlockTable;
class CBlockXRef;
class CBlockXRefDepend;
class CData;
class CEnt;
class CEnt3DFace;
class CEntArc;
class CEntAttdef;
class CEntAttrib;
class CEntCircle;
class CEntHatch;
class CEntInsert;
class CEntInsertXRef;
class CEntLine;
class CEntPnt;
class CEntPolyline;
class CEntText;
class CIRCLE_3D;
class CLayer;
class CLtype;
class IHandleEnt;
class IHandleGestor;
class LINE_3D;
class PNT_3D;
class String;
class TEXT_3D;
struct HATCH_TYPE;
class CVertex;

// Has no data; every operation is virtual so that a host can derive its own factory.
//
// Copy forms book a fresh handle with bookNext. Parameter forms book the handle they are given
// (0 asks for a fresh one); when it is taken the manager's exception passes out and nothing is
// allocated. Every create operation returns null when memory for the entity cannot be had; the
// handle booked for it then stays booked.
class CEntFactory {
 public:
  // Unbooks the handles of an entity's sub-objects (a block reference's attributes, a polyline's
  // vertices), from the last to the first. The entity's own handle is not its business. Final,
  // so its plain destructor is safe: a factory that unbooks differently overrides unbookHandle.
  class CEntUnbookVisitor final : public IEntFooVisitor {
   public:
    explicit CEntUnbookVisitor(IHandleGestor& g) : g_(g) {}

    using IEntFooVisitor::visit;
    // The insert's attributes, from the last to the first.
    void visit(CEntHatch& e) override;
    void visit(CEntInsertXRef& e) override;
    void visit(CEntInsert& e) override;
    // The vertices, from the last to the first.
    void visit(CEntPolyline& e) override;

   private:
    IHandleGestor& g_;
  };

  virtual ~CEntFactory();

  // The creation operations, copy form then parameter form, class by class in the order: point,
  // line, circle, arc, polyline, vertex, text, attribute definition, insert, attribute,
  // external-reference insert, hatch, 3D face; the classes still to come add theirs in place.
  virtual CEntPnt* createEntPnt(IHandleGestor& g, const CEntPnt& src);
  virtual CEntPnt* createEntPnt(IHandleGestor& g, CLayer* layer, CLtype* ltype, short color,
                                const PNT_3D& p, long handle);
  virtual CEntLine* createEntLine(IHandleGestor& g, const CEntLine& src);
  virtual CEntLine* createEntLine(IHandleGestor& g, CLayer* layer, CLtype* ltype, short color,
                                  const LINE_3D& l, long handle);
  virtual CEntCircle* createEntCircle(IHandleGestor& g, const CEntCircle& src);
  virtual CEntCircle* createEntCircle(IHandleGestor& g, CLayer* layer, CLtype* ltype, short color,
                                      const CIRCLE_3D& c, long handle);
  virtual CEntArc* createEntArc(IHandleGestor& g, const CEntArc& src);
  virtual CEntArc* createEntArc(IHandleGestor& g, CLayer* layer, CLtype* ltype, short color,
                                const ARC_3D& a, long handle);
  // A polyline of two thin vertices, line's start then end, each with a fresh handle after the
  // polyline's own; layer, linetype, colour and box come from line.
  virtual CEntPolyline* createEntPolyline(IHandleGestor& g, const CEntLine& line);
  // The copy's vertices are copied through this factory, last first, each with a fresh handle.
  virtual CEntPolyline* createEntPolyline(IHandleGestor& g, const CEntPolyline& src);
  // No vertices yet; flags: bit 0 closed, bits 1-3 curve type, bit 7 linetype generation.
  virtual CEntPolyline* createEntPolyline(IHandleGestor& g, CLayer* layer, CLtype* ltype,
                                          short color, short flags, short degree, long handle);
  virtual CVertex* createVertex(IHandleGestor& g, const CVertex& src);
  virtual CVertex* createVertex(IHandleGestor& g, const PNT_3D& p, double widthStart,
                                double widthEnd, long handle);
  virtual CEntText* createEntText(IHandleGestor& g, const CEntText& src);
  virtual CEntText* createEntText(IHandleGestor& g, CLayer* layer, CLtype* ltype, short color,
                                  const TEXT_3D& t, long handle);
  virtual CEntAttdef* createEntAttdef(IHandleGestor& g, const CEntAttdef& src);
  // t's string is the tag; value is the default value.
  virtual CEntAttdef* createEntAttdef(IHandleGestor& g, CLayer* layer, CLtype* ltype, short color,
                                      const TEXT_3D& t, const String& value, const String& prompt,
                                      long flags, long handle);
  // The copy's attributes are copied through this factory, each with a fresh handle after the
  // insert's own.
  virtual CEntInsert* createEntInsert(IHandleGestor& g, const CEntInsert& src);
  virtual CEntInsert* createEntInsert(IHandleGestor& g, CLayer* layer, CLtype* ltype, short color,
                                      CBlock* block, const PNT_3D& pnt, double sx, double sy,
                                      double sz, double rotate, long rows, long columns,
                                      double columnSpacing, double rowSpacing, long handle);
  virtual CEntAttrib* createEntAttrib(IHandleGestor& g, const CEntAttrib& src);
  // An attribute of ins made from def with the given value (ins is not read).
  virtual CEntAttrib* createEntAttrib(IHandleGestor& g, const String& value, const CEntAttdef& def,
                                      const CEntInsert& ins, long handle);
  // t's string is the value.
  virtual CEntAttrib* createEntAttrib(IHandleGestor& g, CLayer* layer, CLtype* ltype, short color,
                                      const TEXT_3D& t, const String& tag, long flags, long handle);
  // As createEntInsert; the copy uses src's dependency record.
  virtual CEntInsertXRef* createEntInsertXRef(IHandleGestor& g, const CEntInsertXRef& src);
  // depend is the record the insert counts itself in while it is in a table.
  virtual CEntInsertXRef* createEntInsertXRef(IHandleGestor& g, CLayer* layer, CLtype* ltype,
                                              short color, CBlockXRefDepend& depend,
                                              CBlockXRef* xref, const PNT_3D& pnt, double sx,
                                              double sy, double sz, double rotate, long rows,
                                              long columns, double columnSpacing, double rowSpacing,
                                              long handle);
  // The copy's block is a new "*PAT" block of bt with a clone of every entity of src's block.
  virtual CEntHatch* createEntHatch(IHandleGestor& g, CBlockFactory& bf, CBlockTable& bt,
                                    const CEntHatch& src);
  // Generates the block blockName from boundary (null block when generation is refused).
  virtual CEntHatch* createEntHatch(IHandleGestor& g, CLayer* layer, CLtype* ltype, short color,
                                    const String& blockName, const HATCH_TYPE& type, double scale,
                                    double angle, const std::vector<PNT_3D>& boundary, CData& d,
                                    long handle);
  virtual CEntHatch* createEntHatch(IHandleGestor& g, CLayer* layer, CLtype* ltype, short color,
                                    CBlock* block, const HATCH_TYPE& type, double scale,
                                    double angle, const std::vector<PNT_3D>& boundary, long handle);
  virtual CEnt3DFace* createEnt3DFace(IHandleGestor& g, const CEnt3DFace& src);
  // flags: bits 0-3 hide edges 0-3; the triangle mark follows the vertices whatever is given.
  virtual CEnt3DFace* createEnt3DFace(IHandleGestor& g, CLayer* layer, CLtype* ltype, short color,
                                      const PNT_3D& p0, const PNT_3D& p1, const PNT_3D& p2,
                                      const PNT_3D& p3, long flags, long handle);

  // A copy of src under a handle fresh from bookNext, made by src's own clone with g, this
  // factory, bf and bt. Null when memory for it cannot be had (the handle then stays booked).
  virtual CEnt* clone(IHandleGestor& g, CBlockFactory& bf, CBlockTable& bt, const CEnt& src);
  // Gives back the handles of an entity that never entered the drawing: its own, then those of
  // its sub-objects. Call it on a discarded entity, then delete the entity.
  virtual void unbookHandle(IHandleGestor& g, IHandleEnt* e);

 protected:
  // 0 asks for a fresh handle (bookNext); any other handle is booked as given and the manager's
  // exception passes on when it is taken, before anything is allocated.
  void bookHandle(IHandleGestor& g, long& handle);

  // A new Ent built from args, or null when memory for it cannot be had. The constructor is
  // reached as CEntFactory, so Ent's constructors must be open to CEntFactory.
  template <class Ent, class... Args>
  static Ent* make(Args&&... args) {
    try {
      return new Ent(std::forward<Args>(args)...);
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
  }
};
