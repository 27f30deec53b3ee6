// hatch/create_ent_hatch.cpp: the drawing-level createEntHatch calls: a hatch with its generated
// block in the drawing's block table, or nothing at all.
#include <veltcore/database/block_table.h>
#include <veltcore/database/data.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/hatch/ent_hatch.h>
#include <veltcore/hatch/pattern.h>

CEntHatch* createEntHatch(CData& d, CLayer* layer, CLtype* ltype, short color,
                          const HATCH_TYPE& type, double scale, double angle,
                          const std::vector<PNT_3D>& boundary, long handle) {
  CEntFactory& f = d.getEntFactory();
  CEntHatch* e =
      f.createEntHatch(d.getHandleGestor(), layer, ltype, color, getHatchName(d.getBlockTable()),
                       type, scale, angle, boundary, d, handle);
  if (e == nullptr) return nullptr;
  if (e->getBlock() == nullptr) {
    f.unbookHandle(d.getHandleGestor(), e);
    delete e;
    return nullptr;
  }
  d.getBlockTable().add(e->getBlock());
  return e;
}

CEntHatch* createEntHatch(CData& d, const HATCH_TYPE& type, double scale, double angle,
                          const std::vector<PNT_3D>& boundary, long handle) {
  const CDataVariables& v = d.getVars();
  return createEntHatch(d, v.getCurLayer(), v.getCurLtype(), v.getCurColor(), type, scale, angle,
                        boundary, handle);
}
