// dxf/in/entity_simple.cpp: the POINT, LINE, CIRCLE, ARC and 3DFACE records. Each collects its
// groups, checks the layer and the mask of required groups, then builds the entity through
// the entity factory: nothing is allocated before the record has been read whole.
#include "dxf/in/version_readers.h"

#include <veltcore/core/point.h>
#include <veltcore/dxf/in/semantor.h>
#include <veltcore/entities/arc.h>
#include <veltcore/entities/circle.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/face3d.h>
#include <veltcore/entities/line.h>
#include <veltcore/entities/pnt.h>
#include <veltcore/geometry/arc.h>
#include <veltcore/geometry/line.h>

using veltcore::dxfin::kDegToRad;

namespace {

// Entity kinds, as reported with a missing required group.
constexpr long kPoint = 1;
constexpr long kLine = 2;
constexpr long kCircle = 3;
constexpr long kArc = 4;
constexpr long k3DFace = 11;

// Mask bits of the coordinate groups; group 8 (the layer) is bit 1.
constexpr long kX = 16;
constexpr long kY = 32;

}  // namespace

bool CFileDXFIVersionReader::readCornerGroup(long g, PNT_3D* corners, int count, long& mask) {
  const long axis = g / 10;
  const long corner = g % 10;
  if (axis < 1 || axis > 3 || corner >= count) return false;
  PNT_3D& p = corners[corner];
  const double value = getDouble();
  if (axis == 1) {
    p.setX(value);
    mask |= kX << (2 * corner);
  } else if (axis == 2) {
    p.setY(value);
    mask |= kY << (2 * corner);
  } else {
    p.setZ(value);
  }
  return true;
}

CEnt* CFileDXFIVersionReader::readPoint() {
  EntityCommon c = beginEntity();
  PNT_3D p(0.0, 0.0, 0.0);
  while (read() != 0)
    if (!readCornerGroup(group(), &p, 1, c.mask)) readCommonGroup(c);
  endEntity(c, kPoint, 0x31);
  return entFactory().createEntPnt(semantor().getHandleGestor(), c.layer, c.ltype, c.color, p,
                                   c.handle);
}

// Groups 11, 21 and 31 are the end point (mask bits 64 and 128).
CEnt* CFileDXFIVersionReader::readLine() {
  EntityCommon c = beginEntity();
  PNT_3D ends[2] = {PNT_3D(0.0, 0.0, 0.0), PNT_3D(0.0, 0.0, 0.0)};
  while (read() != 0)
    if (!readCornerGroup(group(), ends, 2, c.mask)) readCommonGroup(c);
  endEntity(c, kLine, 0xF1);
  return entFactory().createEntLine(semantor().getHandleGestor(), c.layer, c.ltype, c.color,
                                    LINE_3D(ends[0], ends[1]), c.handle);
}

CEnt* CFileDXFIVersionReader::readCircle() {
  EntityCommon c = beginEntity();
  PNT_3D centre(0.0, 0.0, 0.0);
  double radius = 0.0;
  while (read() != 0) {
    if (readCornerGroup(group(), &centre, 1, c.mask)) continue;
    if (group() == 40) {
      radius = getDouble();
      c.mask |= 64;
    } else {
      readCommonGroup(c);
    }
  }
  endEntity(c, kCircle, 0x71);
  return entFactory().createEntCircle(
      semantor().getHandleGestor(), c.layer, c.ltype, c.color,
      CIRCLE_3D(centre.getX(), centre.getY(), centre.getZ(), radius), c.handle);
}

// The angles are in degrees in the file; ARC_3D brings them into [0, 2*pi].
CEnt* CFileDXFIVersionReader::readArc() {
  EntityCommon c = beginEntity();
  PNT_3D centre(0.0, 0.0, 0.0);
  double radius = 0.0, start = 0.0, end = 0.0;
  while (read() != 0) {
    if (readCornerGroup(group(), &centre, 1, c.mask)) continue;
    switch (group()) {
      case 40:
        radius = getDouble();
        c.mask |= 64;
        break;
      case 50:
        start = getDouble() * kDegToRad;
        c.mask |= 128;
        break;
      case 51:
        end = getDouble() * kDegToRad;
        c.mask |= 256;
        break;
      default:
        readCommonGroup(c);
    }
  }
  endEntity(c, kArc, 0x1F1);
  return entFactory().createEntArc(
      semantor().getHandleGestor(), c.layer, c.ltype, c.color,
      ARC_3D(centre.getX(), centre.getY(), centre.getZ(), radius, start, end), c.handle);
}

// Groups 10-13 / 20-23 / 30-33 are the four corners; X and Y of each are required.
CEnt* CFileDXFIVersionReader::read3DFace() {
  EntityCommon c = beginEntity();
  PNT_3D p[4] = {PNT_3D(0.0, 0.0, 0.0), PNT_3D(0.0, 0.0, 0.0), PNT_3D(0.0, 0.0, 0.0),
                 PNT_3D(0.0, 0.0, 0.0)};
  long edgeFlags = 0;
  while (read() != 0) {
    if (readCornerGroup(group(), p, 4, c.mask)) continue;
    if (group() == 70)
      edgeFlags = getInt();
    else
      readCommonGroup(c);
  }
  endEntity(c, k3DFace, 0xFF1);
  return entFactory().createEnt3DFace(semantor().getHandleGestor(), c.layer, c.ltype, c.color, p[0],
                                      p[1], p[2], p[3], edgeFlags, c.handle);
}
