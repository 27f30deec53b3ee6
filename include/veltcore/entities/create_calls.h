// veltcore/entities/create_calls.h: the drawing-level creation calls createEnt* and cloneEnt,
// which go through the drawing's entity factory and handle manager.
// None adds the entity anywhere: the caller adds it to a table or a block, or unbooks and deletes.
#pragma once

class ARC_3D;
class CData;
class CEnt;
class CEnt3DFace;
class CEntArc;
class CEntCircle;
class CEntLine;
class CEntPnt;
class CIRCLE_3D;
class CLayer;
class CLtype;
class LINE_3D;
class PNT_3D;

// Each create call comes in two forms: with an explicit layer, linetype and colour, and without
// them, taking the drawing's current layer, linetype and colour. Handle 0 asks for a fresh
// handle; any other is booked as given, and the handle manager's exception passes out when it is
// taken. Null when memory for the entity cannot be had.

CEntPnt* createEntPnt(const CData& d, CLayer* layer, CLtype* ltype, short color, const PNT_3D& p,
                      long handle);
CEntPnt* createEntPnt(const CData& d, const PNT_3D& p, long handle);

CEntLine* createEntLine(const CData& d, CLayer* layer, CLtype* ltype, short color, const LINE_3D& l,
                        long handle);
CEntLine* createEntLine(const CData& d, const LINE_3D& l, long handle);

CEntCircle* createEntCircle(const CData& d, CLayer* layer, CLtype* ltype, short color,
                            const CIRCLE_3D& c, long handle);
CEntCircle* createEntCircle(const CData& d, const CIRCLE_3D& c, long handle);

CEntArc* createEntArc(const CData& d, CLayer* layer, CLtype* ltype, short color, const ARC_3D& a,
                      long handle);
CEntArc* createEntArc(const CData& d, const ARC_3D& a, long handle);

// flags: bits 0-3 hide edges 0-3; the triangle mark follows the vertices whatever is given.
CEnt3DFace* createEnt3DFace(const CData& d, CLayer* layer, CLtype* ltype, short color,
                            const PNT_3D& p0, const PNT_3D& p1, const PNT_3D& p2, const PNT_3D& p3,
                            long flags, long handle);
CEnt3DFace* createEnt3DFace(const CData& d, const PNT_3D& p0, const PNT_3D& p1, const PNT_3D& p2,
                            const PNT_3D& p3, long flags, long handle);

// The drawing's factory clone of e with the drawing's handle manager, block factory and blocks.
CEnt* cloneEnt(CData& d, const CEnt& e);
